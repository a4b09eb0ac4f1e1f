#pragma once

#include "tools/UpDown.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalendo {

// The Easter calculator: for a year from 1000 to 3000, the dates of the seven movable feasts
// that hang on Easter Day. Created hidden with the application and shown modally.
class TEasterForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFirstYear = 1000;
    static constexpr int kLastYear = 3000;

    // Starts at the current year of the date services' clock.
    explicit TEasterForm(QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    // Recomputes the seven lines from the year box, unless it holds no year.
    void YearTextChange();
    void UpDownYearClick(TUDBtnType button);
    void YearTextMouseMove();
    void ExitButtonClick();

    QLabel* Label1 = nullptr;
    QLineEdit* YearText = nullptr;
    TUpDown* UpDownYear = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* ShroveTuesday = nullptr;
    QLabel* AshWednesday = nullptr;
    QLabel* PalmSunday = nullptr;
    QLabel* GoodFriday = nullptr;
    QLabel* EasterDay = nullptr;
    QLabel* EasterMonday = nullptr;
    QLabel* AscensionDay = nullptr;
    QPushButton* ExitButton = nullptr;

    // The seven feast labels, top to bottom.
    std::array<QLabel*, 7> FeastLabels() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowLines(int year);
};

} // namespace kalendo
