// SPDX-License-Identifier: MIT
// The question a save asks when another program changed the project, as the
// desktop program shows it, offscreen.
#include "app/klvn_main_app.h"
#include "dialogs/scripted_dialog_runner.h"
#include "platform/fake_services.h"
#include "res/string_table.h"
#include "test_files.h"
#include "ui/qt/qt_message_boxes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>

using namespace kelvane;

namespace {

// Runs `step` on the message box once it is the active modal window.
void WhenBoxShows(std::function<void(QMessageBox&)> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(*box);
    });
    timer->start(10);
}

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (const QAbstractButton* button : box.buttons())
        texts << button->text();
    return texts;
}

QAbstractButton* ButtonNamed(const QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The demo project in a folder of its own, opened by an application over
// the desktop program's message boxes.
struct DesktopProject {
    DesktopProject() {
        for (const char* extension : {".fsp", ".fsr", ".uer", ".sbu", ".mcr"})
            test::WriteBytes(folder.File(std::string("demo") + extension),
                             test::ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo" + extension));
        app.OpenProjectPath(project);
    }
    // Another program saves the project with `line` added.
    void ChangeElsewhere(const std::string& line) {
        test::WriteBytes(project, test::ReadBytes(project) + line);
    }

    test::TempFolder folder;
    const std::string project = folder.File("demo.fsp");
    QtMessageBoxes messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    ScriptedDialogRunner dialogs;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile, dialogs}, "/nonexistent.ini"};
};

} // namespace

class QtMessageBoxesTest : public QObject {
    Q_OBJECT

private slots:
    // Enter presses Cancel: nothing is written. Reload opens the file as the
    // other program left it; Overwrite, in Japanese, writes over it.
    void theChangedFileQuestionDefaultsToCancel() {
        SetResourceLanguage(ResourceLanguage::English);
        DesktopProject desktop;
        QVERIFY(desktop.app.Settings().m_bProjectLoaded);
        desktop.ChangeElsewhere("[OTHER]\nA=1\n");
        const std::string changed = test::ReadBytes(desktop.project);

        QString text, caption;
        QStringList buttons;
        WhenBoxShows([&](QMessageBox& box) {
            text = box.text().remove(QChar(0x200B)); // where the path may wrap
            caption = box.windowTitle();
            buttons = ButtonTexts(box);
            QCOMPARE(box.defaultButton() ? box.defaultButton()->text() : QString(), "Cancel");
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QVERIFY(!desktop.app.SaveProject(desktop.project));
        QCOMPARE(text, QString::fromStdString(desktop.project) +
                           " was changed by another program since the project was opened.");
        QCOMPARE(caption, "Confirm");
        QCOMPARE(buttons, (QStringList{"Overwrite", "Reload", "Cancel"}));
        QCOMPARE(test::ReadBytes(desktop.project), changed);

        WhenBoxShows([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        QVERIFY(!desktop.app.SaveProject(desktop.project));
        QVERIFY(desktop.app.StoppedAtChangedFile());

        WhenBoxShows([](QMessageBox& box) { ButtonNamed(box, "Reload")->click(); });
        QVERIFY(!desktop.app.SaveProject(desktop.project));
        std::string value;
        QVERIFY(desktop.app.Definitions().GetValue(value, "A") && value == "1");

        SetResourceLanguage(ResourceLanguage::Japanese);
        desktop.ChangeElsewhere("[MORE]\nB=2\n");
        WhenBoxShows([&](QMessageBox& box) {
            buttons = ButtonTexts(box);
            ButtonNamed(box, QString::fromUtf8("上書き"))->click();
        });
        QVERIFY(desktop.app.SaveProject(desktop.project));
        SetResourceLanguage(ResourceLanguage::English);
        QCOMPARE(buttons, (QStringList{QString::fromUtf8("上書き"), QString::fromUtf8("再読み込み"),
                                       QString::fromUtf8("キャンセル")}));
        QVERIFY(test::ReadBytes(desktop.project).find("B=2") == std::string::npos);
    }

    // A long path wraps at its separators inside a box no wider than about
    // 60 % of the screen, and every character of it is still shown.
    void aLongMessageWrapsWithinTheScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        std::string path;
        while (path.size() < 400)
            path += "/a-rather-long-folder-name";
        QtMessageBoxes boxes;
        QString text;
        int width = 0, labelHeight = 0, lineHeight = 0;
        WhenBoxShows([&](QMessageBox& box) {
            text = box.text();
            width = box.width();
            const auto* label = box.findChild<QLabel*>("qt_msgbox_label");
            labelHeight = label->height();
            lineHeight = label->fontMetrics().height();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        boxes.MessageBox("Cannot open " + path + ".", "Report", MB_OK | MB_ICONEXCLAMATION);
        QVERIFY2(width <= screen.width() * 6 / 10 + 20, qPrintable(QString::number(width)));
        QVERIFY(labelHeight >= 3 * lineHeight);
        QCOMPARE(text.remove(QChar(0x200B)), QString::fromStdString("Cannot open " + path + "."));
    }
};

QTEST_MAIN(QtMessageBoxesTest)
#include "qt_message_boxes_test.moc"
