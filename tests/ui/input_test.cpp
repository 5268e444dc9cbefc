// The number dialog, driven as a user drives it: typing, OK, Enter, Escape and the frame's
// close button, while it runs modally and the core's request loop asks it.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Input.h"
#include "common/win1252.h"
#include "machine/number_input.h"

using namespace quarzel;

namespace {

// Records every box instead of showing it; the dialog never asks questions or opens files.
class RecordingPrompts : public PromptView {
  public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    int unexpected = 0;
    // What the learner does while the box is open.
    std::function<void()> whileShown;

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        messages.push_back(
            {QString::fromStdString(toUtf8(text)), QString::fromStdString(toUtf8(caption)), icon});
        if (whileShown) {
            whileShown();
        }
    }
    bool askYesNo(const std::string&, const std::string&) override {
        ++unexpected;
        return false;
    }
    std::optional<std::string> chooseFileToOpen(const FileFilter&) override {
        ++unexpected;
        return std::nullopt;
    }
    std::optional<std::string> chooseFileToSave(const FileFilter&, const std::string&) override {
        ++unexpected;
        return std::nullopt;
    }
};

struct Dialog {
    NumberInput input;
    RecordingPrompts prompts;
    TfrmData dialog;

    // Shows the dialog modally and plays `user` once it is up. A dialog the test leaves open
    // is closed after a few seconds, so a failing test cannot hang.
    bool run(const std::function<void(TfrmData&)>& user) {
        QTimer::singleShot(0, &dialog, [this, user] { user(dialog); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &dialog, [this] {
            QWARN("dialog left open");
            dialog.close();
        });
        guard.start(5000);
        // As INP asks: the request, then the dialog goes.
        const bool accepted = askForNumber(dialog, prompts, input);
        dialog.hide();
        return accepted;
    }
};

void typeAndPressOK(TfrmData& dialog, const QString& text) {
    dialog.ebData()->setText(text);
    QTest::mouseClick(dialog.btOK(), Qt::LeftButton);
}

}  // namespace

class InputTest : public QObject {
    Q_OBJECT

  private slots:
    void enterAtOnceAcceptsZero() {
        Dialog d;
        d.input.InputValue = 99;
        QString shownText;
        const bool accepted = d.run([&](TfrmData& dialog) {
            shownText = dialog.ebData()->text();
            QTest::keyClick(dialog.ebData(), Qt::Key_Return);
        });
        QVERIFY(accepted);
        QCOMPARE(shownText, QStringLiteral("0"));
        QCOMPARE(d.input.InputValue, 0);
        QVERIFY(!d.dialog.isVisible());
        QVERIFY(d.prompts.messages.empty());
    }

    void acceptedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("leading blank and minus") << " -12" << -12;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("dollar hexadecimal") << "$1F" << 31;
        QTest::newRow("0x hexadecimal") << "0xff" << 255;
        QTest::newRow("smallest") << "-2147483648" << -2147483647 - 1;
        QTest::newRow("largest") << "2147483647" << 2147483647;
    }
    void acceptedNumbers() {
        QFETCH(QString, text);
        QFETCH(int, value);
        Dialog d;
        QVERIFY(d.run([&](TfrmData& dialog) { typeAndPressOK(dialog, text); }));
        QCOMPARE(d.input.InputValue, value);
        QVERIFY(d.prompts.messages.empty());
    }

    void typingReplacesTheZero() {
        Dialog d;
        QVERIFY(d.run([](TfrmData& dialog) {
            QTest::keyClicks(dialog.ebData(), "-4");
            QTest::keyClick(dialog.ebData(), Qt::Key_Enter);
        }));
        QCOMPARE(d.input.InputValue, -4);
    }

    void rejectedTextsKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("trailing letter") << "12a";
        QTest::newRow("one above the range") << "2147483648";
        QTest::newRow("empty") << "";
        QTest::newRow("umlaut") << QString::fromUtf8(
            "\xC3\xA4"
            "1");
        QTest::newRow("sign only") << "-";
    }
    void rejectedTextsKeepTheDialogOpen() {
        QFETCH(QString, text);
        Dialog d;
        d.input.InputValue = 3;
        bool stillOpen = false;
        int valueWhileOpen = 0;
        QString textWhileOpen;
        d.prompts.whileShown = [&] {
            stillOpen = d.dialog.isVisible();
            valueWhileOpen = d.input.InputValue;
            // Once the box is answered the learner corrects the text and tries again.
            QTimer::singleShot(0, &d.dialog, [&] {
                textWhileOpen = d.dialog.ebData()->text();
                typeAndPressOK(d.dialog, "8");
            });
        };
        const bool accepted = d.run([&](TfrmData& dialog) { typeAndPressOK(dialog, text); });
        QCOMPARE(textWhileOpen, text);
        QVERIFY(stillOpen);
        QCOMPARE(valueWhileOpen, 3);
        QCOMPARE(d.prompts.messages.size(), std::size_t{1});
        const auto& message = d.prompts.messages.front();
        QCOMPARE(message.text,
                 QString::fromUtf8("'%1' ist kein g\xC3\xBCltiger Integerwert.").arg(text));
        QCOMPARE(message.caption, QStringLiteral("Quarzel 3"));
        QCOMPARE(message.icon, MessageIcon::Error);
        QVERIFY(accepted);
        QCOMPARE(d.input.InputValue, 8);
    }

    void closingThroughTheFrameKeepsTheLastNumber() {
        Dialog d;
        QVERIFY(d.run([](TfrmData& dialog) { typeAndPressOK(dialog, "5"); }));
        const bool accepted = d.run([](TfrmData& dialog) {
            dialog.ebData()->setText("77");
            dialog.close();
        });
        QVERIFY(!accepted);
        QCOMPARE(d.input.InputValue, 5);
        QVERIFY(!d.dialog.isVisible());
        QVERIFY(d.prompts.messages.empty());
    }

    void escapeIsLikeClosingTheFrame() {
        Dialog d;
        d.input.InputValue = 5;
        const bool accepted = d.run([](TfrmData& dialog) {
            dialog.ebData()->setText("77");
            QTest::keyClick(dialog.ebData(), Qt::Key_Escape);
        });
        QVERIFY(!accepted);
        QCOMPARE(d.input.InputValue, 5);
    }

    void reopensWithZeroAtItsPlace() {
        Dialog d;
        QVERIFY(!d.run([](TfrmData& dialog) {
            dialog.ebData()->setText("77");
            dialog.move(400, 300);  // the learner drags it away
            dialog.close();
        }));
        QString text;
        QString selected;
        QPoint position;
        QSize size;
        QVERIFY(!d.run([&](TfrmData& dialog) {
            text = dialog.ebData()->text();
            selected = dialog.ebData()->selectedText();
            position = dialog.frameGeometry().topLeft();
            size = dialog.frameGeometry().size();
            dialog.close();
        }));
        QCOMPARE(text, QStringLiteral("0"));
        QCOMPARE(selected, QStringLiteral("0"));
        QCOMPARE(position, QPoint(200, 105));
        QCOMPARE(size, QSize(345, 76));
    }

    void okIsTheOnlyButtonAndTheDefault() {
        Dialog d;
        QVERIFY(d.dialog.btOK()->isDefault());
        QCOMPARE(d.dialog.findChildren<QPushButton*>().size(), 1);
        QCOMPARE(d.dialog.ebData()->nextInFocusChain(), static_cast<QWidget*>(d.dialog.btOK()));
    }

    void focusStartsInTheField() {
        Dialog d;
        QWidget* focused = nullptr;
        d.run([&](TfrmData& dialog) {
            focused = dialog.focusWidget();
            dialog.close();
        });
        QCOMPARE(focused, static_cast<QWidget*>(d.dialog.ebData()));
    }
};

QTEST_MAIN(InputTest)
#include "input_test.moc"
