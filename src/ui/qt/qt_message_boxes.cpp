// SPDX-License-Identifier: MIT
#include "ui/qt/qt_message_boxes.h"

#include "platform/qt/qt_text.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QString>

namespace kelvane {
namespace {

// Boxes shown without a caption of their own carry the application's name.
constexpr const char* kApplicationName = "KLVN_MAIN";

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & 0xF0) {
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Where a long text may break besides its spaces: after a path's separators.
QString WithPathBreaks(const QString& text) {
    QString broken;
    broken.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        broken += c;
        if (c == u'/' || c == u'\\')
            broken += QChar(0x200B); // zero-width space
    }
    return broken;
}

// A box as wide as its text needs, up to about 60 % of the screen it shows
// on; the rest wraps, paths at their separators.
void FitOnScreen(QMessageBox& box, QWidget* owner) {
    box.setText(WithPathBreaks(box.text()));
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setWordWrap(true);
        label->setMaximumWidth(screen->availableGeometry().width() * 6 / 10 -
                               box.iconPixmap().width() - 60);
    }
}

} // namespace

int QtMessageBoxes::MessageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
    QMessageBox box(IconOf(style), ToQString(caption.empty() ? kApplicationName : caption),
                    ToQString(text), QMessageBox::NoButton, m_owner);
    FitOnScreen(box, m_owner);
    const unsigned buttons = style & 0x0F;
    if (buttons == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((style & MB_DEFBUTTON2) != 0 ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else if (buttons == MB_YESNOCANCEL) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (buttons == MB_YESNO)
        return pressed == QMessageBox::Yes ? IDYES : IDNO;
    if (buttons == MB_YESNOCANCEL)
        return pressed == QMessageBox::Yes ? IDYES : pressed == QMessageBox::No ? IDNO : IDCANCEL;
    return IDOK;
}

size_t QtMessageBoxes::AskQuestion(const std::string& text, const std::string& caption,
                                   unsigned style, const std::vector<std::string>& buttons,
                                   size_t defaultButton, size_t escapeButton) {
    QMessageBox box(IconOf(style), ToQString(caption.empty() ? kApplicationName : caption),
                    ToQString(text), QMessageBox::NoButton, m_owner);
    FitOnScreen(box, m_owner);
    std::vector<QPushButton*> added;
    for (const std::string& label : buttons)
        added.push_back(box.addButton(ToQString(label), QMessageBox::ActionRole));
    if (defaultButton < added.size())
        box.setDefaultButton(added[defaultButton]);
    if (escapeButton < added.size())
        box.setEscapeButton(added[escapeButton]);
    box.exec();
    for (size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i])
            return i;
    return escapeButton;
}

} // namespace kelvane
