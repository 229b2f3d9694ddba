// SPDX-License-Identifier: MIT
// The Qt dialog host on the real templates, offscreen.
#include "app/about_dlg.h"
#include "app/app_with_fakes.h"
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "ui/qt/qt_dialog_runner.h"
#include "ui/qt/qt_file_dialogs.h"
#include "ui/qt/template_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

using namespace kelvane;

namespace {

constexpr uint32_t kCommSettingCommand = 32771;

// Runs `step` on the dialog of `templateId` once it is the active modal
// window; a step may open a further dialog, whose own step then runs.
void WhenModal(unsigned templateId, std::function<void(TemplateDialog&)> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, templateId, step] {
        auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->property("kelvaneControlId").toUInt() != templateId)
            return;
        timer->stop();
        timer->deleteLater();
        step(*dialog);
    });
    timer->start(10);
}

struct Application : test::AppWithFakes<QtDialogRunner> {
    Application() {
        OpenEthernetProject();
        app.SetUsbLibrary(std::string(KELVANE_PROGRAM_DIR) + "/kelvane_test_usb_two.so");
    }
};

template <class Widget> Widget* ControlAs(TemplateDialog& dialog, int id) {
    return qobject_cast<Widget*>(dialog.Control(id));
}

} // namespace

class TemplateDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        SetResourceLanguage(ResourceLanguage::English);
        unsetenv("KELVANE_CODEPAGE");
    }

    void dialogUnitsBecomePixelsWithTheFontsBaseUnits() {
        // x and width by bu_x / 4, y and height by bu_y / 8, rounded.
        QCOMPARE(DialogUnitsToPixels({6, 13}, 15, 50, 90, 14), QRect(23, 81, 135, 23));
        QCOMPARE(DialogUnitsToPixels({7, 15}, 1, 3, 0, 1), QRect(2, 6, 0, 2));
        const QFont font =
            DialogFont(*FindDialogTemplate(IDD_COMM_SETTING, ResourceLanguage::English), false);
        const DialogBaseUnits units = BaseUnitsOf(font);
        const QFontMetrics metrics(font);
        QCOMPARE(units.y, metrics.height());
        QVERIFY(std::abs(units.x * 52 -
                         metrics.horizontalAdvance(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) <= 26);
    }

    void everyControlSitsAtItsTemplatePositionInBothLanguages() {
        for (const ResourceLanguage language :
             {ResourceLanguage::English, ResourceLanguage::Japanese}) {
            SetResourceLanguage(language);
            for (const DialogTemplate& each : EnglishDialogTemplates()) {
                const unsigned id = each.id;
                const DialogTemplate& dialogTemplate = *FindDialogTemplate(id, language);
                Application application;
                CAboutDlg logic(application.dialogs); // any dialog: only the widgets are looked at
                TemplateDialog dialog(
                    logic, dialogTemplate,
                    DialogFont(dialogTemplate, language == ResourceLanguage::Japanese), QIcon(),
                    nullptr);
                const DialogBaseUnits units = dialog.BaseUnits();
                QCOMPARE(dialog.size(), DialogUnitsToPixels(units, 0, 0, dialogTemplate.width,
                                                            dialogTemplate.height)
                                            .size());
                QCOMPARE(dialog.windowTitle(), QString::fromUtf8(dialogTemplate.title));
                QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint),
                         dialogTemplate.contextHelpButton);
                // A text stays inside the frame of its group box, and a long
                // button keeps the size of the dialog's font.
                const auto widgetAt = [&](const DialogControl& control) -> QWidget* {
                    const QPoint corner =
                        DialogUnitsToPixels(units, control.x, control.y, control.w, control.h)
                            .topLeft();
                    for (QWidget* widget :
                         dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                        if (widget->pos() == corner &&
                            (qobject_cast<QGroupBox*>(widget) != nullptr) ==
                                (control.kind == ControlKind::GroupBox))
                            return widget;
                    return nullptr;
                };
                for (const QPushButton* button : dialog.findChildren<QPushButton*>())
                    QCOMPARE(button->font().pointSize(), dialog.font().pointSize());
                for (const DialogControl& control : dialogTemplate.controls) {
                    if (!IsLabelLike(control.kind))
                        continue;
                    for (const DialogControl& group : dialogTemplate.controls)
                        if (group.kind == ControlKind::GroupBox && control.x > group.x &&
                            control.x < group.x + group.w && control.y > group.y &&
                            control.y < group.y + group.h)
                            QVERIFY2(widgetAt(control)->geometry().right() <
                                         widgetAt(group)->geometry().right(),
                                     control.text);
                }
                for (const DialogControl& control : dialogTemplate.controls) {
                    if (control.id == IDC_STATIC)
                        continue;
                    QWidget* widget = dialog.Control(control.id);
                    QVERIFY2(widget != nullptr, qPrintable(QString::number(control.id)));
                    const QRect place =
                        DialogUnitsToPixels(units, control.x, control.y, control.w, control.h);
                    if (IsLabelLike(control.kind)) {
                        // Texts may grow to the right, never past the dialog.
                        QCOMPARE(widget->pos(), place.topLeft());
                        QCOMPARE(widget->height(), place.height());
                        QVERIFY(widget->width() >= place.width());
                        QVERIFY(widget->geometry().right() < dialog.width());
                    } else if (control.kind == ControlKind::ComboBox) {
                        QCOMPARE(widget->pos(), place.topLeft());
                        QCOMPARE(widget->width(), place.width());
                        QVERIFY(widget->height() < place.height());
                    } else {
                        QCOMPARE(widget->geometry(), place);
                    }
                }
            }
        }
        // The Japanese dialogs are drawn with a face that has Japanese glyphs.
        const QFont japanese =
            DialogFont(*FindDialogTemplate(IDD_COMM_SETTING, ResourceLanguage::Japanese), true);
        QVERIFY(QFontMetrics(japanese).inFont(QChar(0x901A))); // 通
    }

    void clicksKeysAndHelpReachTheDialogAndOkStoresTheValues() {
        Application application;
        WhenModal(IDD_COMM_SETTING, [&](TemplateDialog& dialog) {
            QVERIFY(dialog.Control(IDC_USB_DEVICE)->isEnabled() == false);
            QTest::mouseClick(dialog.Control(IDC_USB), Qt::LeftButton);
            QVERIFY(ControlAs<QRadioButton>(dialog, IDC_USB)->isChecked());
            QVERIFY(!ControlAs<QRadioButton>(dialog, IDC_ETHER)->isChecked());
            QVERIFY(dialog.Control(IDC_USB_DEVICE)->isEnabled());
            QVERIFY(!dialog.Control(IDC_IP_ADDRESS)->isEnabled());

            // F1 asks for the popup of the control with the focus; What's
            // This for the control clicked.
            dialog.Control(IDC_USB_DEVICE)->setFocus();
            QTest::keyClick(&dialog, Qt::Key_F1);
            QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
            QApplication::sendEvent(dialog.Control(IDC_TIMEOUT), &whatsThis);

            // Detect opens the device list over this dialog.
            WhenModal(IDD_USB_DEVICE_LIST, [](TemplateDialog& list) {
                auto* devices = ControlAs<QListWidget>(list, IDC_USB_DEVICE_LIST);
                QCOMPARE(devices->count(), 2);
                QCOMPARE(devices->item(1)->text(), QString("XYZ67890QR unit-2"));
                QCOMPARE(devices->currentRow(), 0);
                QTest::mouseClick(devices->viewport(), Qt::LeftButton, {},
                                  devices->visualItemRect(devices->item(1)).center());
                QTest::mouseClick(list.Control(IDOK), Qt::LeftButton);
            });
            QTest::mouseClick(dialog.Control(IDC_DETECT), Qt::LeftButton);
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_USB_DEVICE)->text(), QString("XYZ67890QR"));
            QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
        });
        application.app.OnCommand(kCommSettingCommand);
        QCOMPARE(application.app.Settings().m_nCommDevice, uint32_t(COMM_USB));
        QCOMPARE(application.app.Settings().m_strUsbDevice, std::string("XYZ67890QR"));
        const std::vector<std::pair<uint32_t, uint32_t>> expected{{IDC_USB_DEVICE, 14},
                                                                  {IDC_TIMEOUT, 14}};
        QVERIFY(application.helpRequests == expected);
    }

    void escapeIsCancelAndUnconvertibleTextComesBackUnchanged() {
        setenv("KELVANE_CODEPAGE", "CP932", 1);
        Application application;
        ProjectSettings& settings = application.app.Settings();
        settings.m_strIpAddress = "\x83\x65\x83\x58\x83\x67"; // テスト
        settings.m_strPort = "\xFF\xFD";                      // no CP932 text
        WhenModal(IDD_COMM_SETTING, [](TemplateDialog& dialog) {
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_IP_ADDRESS)->text(),
                     QString::fromUtf8("テスト"));
            QTest::keyClicks(dialog.Control(IDC_TIMEOUT), "5");
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        application.app.OnCommand(kCommSettingCommand);
        QCOMPARE(settings.m_strTimeout, std::string("30"));

        WhenModal(IDD_COMM_SETTING, [](TemplateDialog& dialog) {
            auto* address = ControlAs<QLineEdit>(dialog, IDC_IP_ADDRESS);
            address->setText(address->text() + "1");
            QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
        });
        application.app.OnCommand(kCommSettingCommand);
        QCOMPARE(settings.m_strIpAddress, std::string("\x83\x65\x83\x58\x83\x67"
                                                      "1"));
        QCOMPARE(settings.m_strPort, std::string("\xFF\xFD")); // not edited: kept as read
        unsetenv("KELVANE_CODEPAGE");
    }

    // Ports take hexadecimal digits and the time-out decimal ones as they are
    // typed; the box keeps its size, offers no maximise or minimise button and
    // marks the focused control before any Tab.
    void digitFieldsTakeOnlyTheirDigitsInAFixedDialog() {
        Application application;
        WhenModal(IDD_COMM_SETTING, [](TemplateDialog& dialog) {
            const Qt::WindowFlags flags = dialog.windowFlags();
            QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
            QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
            QVERIFY(dialog.testAttribute(Qt::WA_KeyboardFocusChange));
            for (const int id : {IDC_PORT, IDC_MCS_PORT, IDC_TIMEOUT}) {
                auto* edit = ControlAs<QLineEdit>(dialog, id);
                edit->setEnabled(true);
                edit->clear();
                QTest::keyClicks(edit, "8g0!x8Fa");
            }
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_PORT)->text(), QString("808Fa"));
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_MCS_PORT)->text(), QString("808Fa"));
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_TIMEOUT)->text(), QString("808"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        application.app.OnCommand(kCommSettingCommand);
    }

    void filesAndModelDialogsRouteTheirCombosAndStoreOnOk() {
        Application application;
        ProjectSettings& settings = application.app.Settings();
        settings.m_astrFrdFiles = {"C:\\old\\SH7\\x.frd", "y.frd"};
        settings.m_astrFrdNewFiles = settings.m_astrFrdFiles;
        application.app.SetInstalledModels([] { return std::vector<std::string>{"H8S", "SH2A"}; });
        application.fileDialogs.answer = "D:\\mpu\\a.mpv";
        WhenModal(IDD_FILE_MODEL_SETTING, [](TemplateDialog& dialog) {
            auto* targets = ControlAs<QComboBox>(dialog, IDC_FRD_TARGET);
            auto* models = ControlAs<QComboBox>(dialog, IDC_MODEL);
            QCOMPARE(targets->count(), 2);
            QCOMPARE(models->currentText(), QString("H8S"));
            QTest::mouseClick(dialog.Control(IDC_BROWSE_MPV), Qt::LeftButton);
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_MPV_FILE)->text(), QString("D:\\mpu\\a.mpv"));
            // The user's choice of a target shows its path; the batch
            // conversion moves both.
            targets->setCurrentIndex(1);
            emit targets->activated(1);
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_FRD_FILE)->text(), QString("y.frd"));
            QTest::mouseClick(dialog.Control(IDC_CONVERT_TO_MPV_DIR), Qt::LeftButton);
            QCOMPARE(ControlAs<QLineEdit>(dialog, IDC_FRD_FILE)->text(),
                     QString("D:\\mpu\\flash\\y.frd"));
            models->setEditText("sh2b");
            QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
        });
        application.app.OnCommand(32777);
        QCOMPARE(settings.m_strSelectedModelName, std::string("SH2B"));
        QCOMPARE(settings.m_astrFrdNewFiles,
                 (std::vector<std::string>{"D:\\mpu\\flash\\SH7\\x.frd", "D:\\mpu\\flash\\y.frd"}));

        WhenModal(IDD_MODEL_SELECT, [](TemplateDialog& dialog) {
            auto* models = ControlAs<QComboBox>(dialog, IDC_MODEL);
            QCOMPARE(models->count(), 2);
            models->setCurrentIndex(1);
            QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
        });
        application.app.OnCommand(32783);
        QCOMPARE(settings.m_strSelectedModelName, std::string("SH2A"));
    }

    // The open dialog's size, type and date columns show their texts whole.
    void theFileDialogShowsItsColumnsWhole() {
        QTemporaryDir folder;
        QFile file(folder.filePath("demo.fsp"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(463, 'x')) == 463);
        file.close();
        QtFileDialogs dialogs;
        FileDialogRequest request;
        request.title = "Open Project File";
        request.filterText = "Project file(*.fsp)";
        request.startFolder = folder.path().toStdString();
        request.flags = OFN_FILEMUSTEXIST;
        std::vector<int> widths, needed;
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* view = dialog ? dialog->findChild<QTreeView*>("treeView") : nullptr;
            if (view == nullptr || view->model()->rowCount(view->rootIndex()) == 0)
                return;
            timer->stop();
            timer->deleteLater();
            QTest::qWait(100);
            for (int column = 1; column < 4; ++column) {
                widths.push_back(view->columnWidth(column));
                needed.push_back(static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column));
            }
            dialog->reject();
        });
        timer->start(10);
        std::string chosen;
        QVERIFY(!dialogs.ShowFileDialog(request, chosen));
        QCOMPARE(widths.size(), size_t(3));
        for (size_t i = 0; i < widths.size(); ++i)
            QVERIFY2(widths[i] >= needed[i], qPrintable(QString::number(i + 1)));
    }

    void theAboutBoxShowsTheComposedVersion() {
        Application application;
        QString shown;
        WhenModal(IDD_ABOUTBOX, [&](TemplateDialog& dialog) {
            shown = ControlAs<QLabel>(dialog, IDC_VERSION)->text();
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        CAboutDlg about(application.dialogs);
        QCOMPARE(about.DoModal(), int(IDOK));
        QCOMPARE(shown, QString("Kelvane Version 7.02"));
    }
};

QTEST_MAIN(TemplateDialogTest)
#include "template_dialog_test.moc"
