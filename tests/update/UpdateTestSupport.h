#pragma once

#include "update/mxWebUpdateInfo.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kalendo::update::testing {

// Answers the next information window that opens by clicking OK or Cancel, as a user would.
class InfoWindowAnswer {
public:
    explicit InfoWindowAnswer(bool clickOk) : timer_(std::make_unique<QTimer>()) {
        timer_->setInterval(5);
        QObject::connect(timer_.get(), &QTimer::timeout, [this, clickOk] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* window = qobject_cast<Tfrm_ShowInfoUpdate*>(widget);
                if (!window || !window->isVisible()) continue;
                ++answered_;
                timer_->stop();
                QTest::mouseClick(clickOk ? window->btn_OK : window->btn_Cancel, Qt::LeftButton);
                return;
            }
        });
        timer_->start();
    }
    int Answered() const { return answered_; }

private:
    std::unique_ptr<QTimer> timer_;
    int answered_ = 0;
};

} // namespace kalendo::update::testing
