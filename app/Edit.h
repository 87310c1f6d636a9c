// The edit dialog: the fields of the log's current contact, bound to the table view's current
// row. Changes stay in the fields until "OK" stores them (or the operator moves to another
// row, which stores them as well); "Отмена" and the close box drop them.
#pragma once

#include "SecondaryWindow.h"

class QComboBox;
class QDataWidgetMapper;
class QLabel;
class QLineEdit;
class QPushButton;
class QsoTableModel;

class TForm2 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit TForm2(Forms &forms, QWidget *parent = nullptr);

    QLineEdit *DateEdit;          // data, in the log's short date format
    QComboBox *BandBox;           // QSOBand
    QLineEdit *TimeEdit;          // time
    QComboBox *DBComboBoxEh3;     // mode
    QLineEdit *HeardEdit;         // call1
    QComboBox *HeardReportBox;    // rst1
    QLineEdit *HeardNumberEdit;   // nr1
    QLineEdit *WorkedEdit;        // call2
    QComboBox *WorkedReportBox;   // rst2
    QLineEdit *WorkedNumberEdit;  // nr2
    QPushButton *BitBtn1;         // "OK"
    QPushButton *BitBtn2;         // "Отмена"

    // The table row the fields show, -1 when the log has no current row.
    int shownRow() const;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void DBComboBoxEh3Change();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    QsoTableModel &table();
    // Brings the fields to the table view's current row; the change of the row they leave
    // is stored first, as data-aware fields did. When it cannot be stored the current row
    // goes back to it and the change stays in the fields.
    void followCursor();
    void scheduleFollow();
    void showRow(int row);
    // Stores the fields' changes of the shown row; throws when a field is refused or the
    // store fails, and the change then stays pending.
    void postChange();
    void dropChange();
    void checkDate(int row) const;

    QDataWidgetMapper *mapper_;
    QList<QWidget *> fields_;
    bool followScheduled_ = false;
};
