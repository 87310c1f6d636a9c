// The ten windows of the logger. main creates them once, in this order, and hands this
// registry to each, so that a window reaches the others and their controls directly.
#pragma once

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;

struct Forms {
    TForm1 *Form1 = nullptr;   // main window "ORVO Contest Logger v1.1"
    TForm2 *Form2 = nullptr;   // edit dialog
    TForm3 *Form3 = nullptr;   // Cabrillo export
    TForm4 *Form4 = nullptr;   // MMVARI decoder
    TForm5 *Form5 = nullptr;   // ADIF export
    TForm6 *Form6 = nullptr;   // Info
    TForm7 *Form7 = nullptr;   // Setting
    TForm8 *Form8 = nullptr;   // Sound
    TForm9 *Form9 = nullptr;   // DXCC and Prefix List
    TForm10 *Form10 = nullptr; // Contest Rules
};

// Owns the ten windows: creates them in the order above (the main window first, before any
// other exists) and destroys them in reverse. Throws StoreError when the log cannot be opened.
class Windows {
public:
    Windows();
    ~Windows();
    Windows(const Windows &) = delete;
    Windows &operator=(const Windows &) = delete;

    Forms forms;
};
