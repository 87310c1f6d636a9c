// The main window: the log grid, the duplicate search grid, the country data of the heard
// call, clock and date, band and mode, the entry fields of one contact, and the score.
#pragma once

#include "Forms.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;
class QsoStore;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Opens the log orvocontestlog.mdb in the current directory; throws StoreError when it
    // cannot, and start-up stops.
    explicit TForm1(Forms &forms, QWidget *parent = nullptr);
    ~TForm1() override;

    QsoStore &store() { return *store_; }

    // Grids
    QTableView *DBGridEh1;   // the log
    QTableView *DBGridEh2;   // the last search
    // Country data of the heard call
    QLabel *mDXCC, *mCQ, *mITU, *mContinent, *mPrefix, *mCountry;
    // Clock, band and mode
    QLabel *lbTime, *lbDate, *lbBand, *lbMode;
    QPushButton *btn160, *btn80, *btn40, *btn20, *btn15, *btn10;
    QPushButton *btnSSB, *btnCW, *btnDIGI;
    QGroupBox *ModeGroup;
    QMenu *mnuModes;
    QAction *RTTY1, *BPSK311, *BPSK631, *BPSK1251, *QPSK311, *QPSK631, *QPSK1251, *QPSK2501, *MFSK161;
    // Entry
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    QComboBox *ComboBox1, *ComboBox2;
    QPushButton *Button1;    // "Save"
    QPushButton *Button2;    // "Clear"
    // Status bar panels: "QSO n", "Score n", "Heard n", "Worked n"
    QLabel *StatusPanel[4];
    QTimer *Timer1;
    // Menus
    QAction *Cabrillo3ADIF1, *ADIF1, *N3, *N1, *DXCCandPrefixList1, *MMVARI2, *Info1, *RDRC2;
    QMenu *PopupMenu1;
    QAction *D1, *D2, *E1;

    // The lines of Russia.dom, empty when the file is missing.
    QStringList OblastList;

public slots:
    void Timer1Timer();
    void UpdateScore();

    void Button1Click();
    void Button2Click();
    void Edit1KeyPress();
    void Edit2KeyPress();
    void Edit3KeyPress();
    void Edit4KeyPress();

    void Edit1Change();
    void Edit2Change();

    void btn160Click();
    void btn80Click();
    void btn40Click();
    void btn20Click();
    void btn15Click();
    void btn10Click();
    void btnSSBClick();
    void btnCWClick();
    void btnDIGIClick();

    void D1Click();
    void D2Click();
    void Editor();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void buildWindow();
    void buildMenus();
    void setBand(const QString &band);
    void setMode(const QString &mode);
    void showSearchCounts();
    // The six country data texts of the heard call, in label order.
    QStringList lookUpCountry(const QString &heard);
    void showCountryData(const QStringList &data);
    void showRecordCount();

    Forms &forms;
    QsoStore *store_;
    bool shownOnce_ = false;
};
