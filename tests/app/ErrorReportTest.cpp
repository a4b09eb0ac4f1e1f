#include "app/ErrorReport.h"
#include "KalendoVersion.h"

#include "app/QStringPrinter.h"
#include "dates/Error.h"
#include "dates/VorlanDates.h"
#include "dates/VorlanDecodeDate.h"
#include "platform/MessageBoxes.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kalendo::app {
namespace {

using platform::MessageKind;
using platform::MessageRequest;
using platform::MessageResult;

TEST(ErrorReportText, addsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    const struct {
        const char* meaning;
        const char* message;
        const char* shown;
    } rows[] = {
        {"letter", "Invalid argument to date encode", "Invalid argument to date encode."},
        {"digit", "Error 42", "Error 42."},
        {"question mark sorts after the stop", "Why?", "Why?."},
        {"already a full stop", "Done.", "Done."},
        {"exclamation mark sorts before", "Save aborted!!!", "Save aborted!!!"},
        {"closing bracket sorts before", "failed (disk)", "failed (disk)"},
        {"trailing blank sorts before", "text ", "text "},
        {"comma sorts before", "a,", "a,"},
        {"slash sorts after", "a/", "a/."},
        {"empty", "", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ErrorReportText(QString::fromUtf8(row.message)), QString::fromUtf8(row.shown))
            << row.meaning;
}

class ErrorBoundaryTest : public ::testing::Test {
protected:
    std::vector<MessageRequest> boxes_;
    platform::ScopedMessageHandler handler_{[this](const MessageRequest& request) {
        boxes_.push_back(request);
        return MessageResult::Ok;
    }};
};

TEST_F(ErrorBoundaryTest, errorInAClickHandlerIsReportedAndTheProgramGoesOn) {
    ASSERT_NE(dynamic_cast<TKalendoApplication*>(QCoreApplication::instance()), nullptr);
    QPushButton button(QStringLiteral("Go"));
    button.resize(80, 30);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks; // changed before the error: stays changed
        throw Error("Unable to decode the date time : Monday 7 December 2026");
    });

    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes_[0].title, QString::fromLatin1(kalendo::kVersionedName));
    EXPECT_EQ(boxes_[0].text, QStringLiteral("Unable to decode the date time : Monday 7 December 2026."));
    EXPECT_EQ(clicks, 1);

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2) << "the button still works after the report";
    EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(ErrorBoundaryTest, standardLibraryErrorsAreReportedWithTheirText) {
    QPushButton button;
    button.resize(80, 30);
    button.show();
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::out_of_range("Index out of range!"); });
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("Index out of range!"));
}

TEST_F(ErrorBoundaryTest, runUserActionReportsAndSwallowsTheError) {
    bool before = false;
    RunUserAction([&] {
        before = true;
        throw Error("Failed to set data for 'left' in Software\\Marrowby\\Kalendo");
    });
    EXPECT_TRUE(before);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text,
              QStringLiteral("Failed to set data for 'left' in Software\\Marrowby\\Kalendo."));
}

TEST_F(ErrorBoundaryTest, decoderMessageGoesToATitledBox) {
    InstallDecoderMessageBox();
    EXPECT_THROW(DecodeDateText("twenty thirty forty fifty"), Error);
    SetDecoderMessageHook({});
    ASSERT_GE(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("Too many words - can't decode"));
    EXPECT_EQ(boxes_[0].title, QString::fromLatin1(kalendo::kVersionedName));
    EXPECT_EQ(boxes_[0].kind, MessageKind::Information);
}

} // namespace
} // namespace kalendo::app
