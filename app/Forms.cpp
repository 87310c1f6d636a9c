#include "Forms.h"

#include "ADIF.h"
#include "Cabrillo.h"
#include "ContestRules.h"
#include "DXCCPrefix.h"
#include "Edit.h"
#include "Info.h"
#include "Log.h"
#include "MMVARI.h"
#include "Setting.h"
#include "Sound.h"

Windows::Windows()
{
    forms.Form1 = new TForm1(forms);
    try {
        forms.Form2 = new TForm2(forms);
        forms.Form3 = new TForm3(forms);
        forms.Form4 = new TForm4(forms);
        forms.Form5 = new TForm5(forms);
        forms.Form6 = new TForm6(forms);
        forms.Form7 = new TForm7(forms);
        forms.Form8 = new TForm8(forms);
        forms.Form9 = new TForm9(forms);
        forms.Form10 = new TForm10(forms);
    } catch (...) {
        this->~Windows();
        throw;
    }
}

Windows::~Windows()
{
    delete forms.Form10;
    delete forms.Form9;
    delete forms.Form8;
    delete forms.Form7;
    delete forms.Form6;
    delete forms.Form5;
    delete forms.Form4;
    delete forms.Form3;
    delete forms.Form2;
    delete forms.Form1;
    forms = {};
}
