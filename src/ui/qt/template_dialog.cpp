// SPDX-License-Identifier: MIT
#include "ui/qt/template_dialog.h"

#include "platform/qt/qt_text.h"
#include "ui/qt/qt_help_desktop.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QWhatsThis>

#include <optional>
#include <span>

namespace kelvane {
namespace {

int MulDivRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator : -denominator) / 2) /
                            denominator);
}

int ControlIdOf(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        bool ok = false;
        const int id = widget->property(kControlIdProperty).toInt(&ok);
        if (ok)
            return id;
        if (widget->isWindow())
            break;
    }
    return 0;
}

// A text wider than its place is drawn condensed in the same size first, as
// its neighbours are; only when even that is too wide does it get smaller.
void FitText(QWidget* widget, const QString& text, int width, int padding) {
    QFont font = widget->font();
    const auto fits = [&](const QFont& candidate) {
        return QFontMetrics(candidate).horizontalAdvance(text) + padding <= width;
    };
    if (fits(font))
        return;
    font.setStretch(QFont::Condensed);
    while (!fits(font) && font.pointSize() > 6)
        font.setPointSize(font.pointSize() - 1);
    widget->setFont(font);
}

// The right edge, in pixels, of the group box around a control, if any.
std::optional<int> GroupRightEdge(const DialogControl& control,
                                  std::span<const DialogControl> controls,
                                  const DialogBaseUnits& units) {
    for (const DialogControl& group : controls)
        if (group.kind == ControlKind::GroupBox && &group != &control && control.x > group.x &&
            control.x < group.x + group.w && control.y > group.y && control.y < group.y + group.h)
            return DialogUnitsToPixels(units, group.x, group.y, group.w, group.h).right();
    return std::nullopt;
}

} // namespace

bool IsLabelLike(ControlKind kind) {
    return kind == ControlKind::Static || kind == ControlKind::CheckBox ||
           kind == ControlKind::RadioButton;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int total = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {MulDivRounded(total, 1, 52), metrics.height()};
}

QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int w, int h) {
    return QRect(MulDivRounded(x, units.x, 4), MulDivRounded(y, units.y, 8),
                 MulDivRounded(w, units.x, 4), MulDivRounded(h, units.y, 8));
}

QFont DialogFont(const DialogTemplate& dialogTemplate, bool japanese) {
    QFont font;
    font.setFamilies(japanese
                         ? QStringList{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Sans Serif"}
                         : QStringList{"DejaVu Sans", "Liberation Sans", "Sans Serif"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 9);
    return font;
}

TemplateDialog::TemplateDialog(CDialog& dialog, const DialogTemplate& dialogTemplate,
                               const QFont& font, const QIcon& icon, QWidget* parent)
    : QDialog(parent), m_dialog(dialog), m_template(dialogTemplate) {
    setFont(font);
    m_units = BaseUnitsOf(font);
    setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    setProperty(kControlIdProperty, static_cast<int>(dialogTemplate.id));
    // A dialog box of fixed size: no maximise or minimise button for a window
    // manager to offer.
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
        Qt::WindowCloseButtonHint |
        (dialogTemplate.contextHelpButton ? Qt::WindowContextHelpButtonHint : Qt::WindowFlags()));
    const QRect client =
        DialogUnitsToPixels(m_units, 0, 0, dialogTemplate.width, dialogTemplate.height);
    setFixedSize(client.size());
    Build(icon);

    // F1 asks for the popup of the control with the focus.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { RouteHelp(focusWidget()); });
    // Few window managers draw the "?" button: Shift+F1 enters the same mode.
    if (dialogTemplate.contextHelpButton) {
        auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
        connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
    }
}

void TemplateDialog::Build(const QIcon& icon) {
    QButtonGroup* group = nullptr;
    for (const DialogControl& control : m_template.controls) {
        if ((control.style & WS_GROUP) != 0 || control.kind != ControlKind::RadioButton)
            group = nullptr;
        QWidget* widget = MakeControl(control, icon);
        QRect place = DialogUnitsToPixels(m_units, control.x, control.y, control.w, control.h);
        // The stand-in font runs wider than the template's in places: a label
        // grows to its text, within the dialog, rather than lose its end.
        // A combo box's height is that of its open list; the box itself is
        // as high as its font needs.
        if (control.kind == ControlKind::ComboBox) {
            auto* combo = static_cast<QComboBox*>(widget);
            const int itemHeight = std::max(1, combo->fontMetrics().height());
            combo->setMaxVisibleItems(std::max(1, place.height() / itemHeight - 1));
            place.setHeight(combo->sizeHint().height());
        }
        // A button cannot grow over its neighbours: its text is condensed.
        if (control.kind == ControlKind::PushButton)
            FitText(widget, static_cast<QPushButton*>(widget)->text(), place.width(), 8);
        if (IsLabelLike(control.kind)) {
            // A label may grow to the right up to the frame of its group box
            // (or the dialog's edge), and is condensed where that is too little.
            const int edge =
                GroupRightEdge(control, m_template.controls, m_units).value_or(width()) -
                MulDivRounded(2, m_units.x, 4);
            const int room = std::max(place.width(), edge - place.x());
            if (widget->sizeHint().width() > room && control.kind == ControlKind::Static)
                FitText(widget, static_cast<QLabel*>(widget)->text(), room, 0);
            place.setWidth(std::max(place.width(), std::min(widget->sizeHint().width(), room)));
        }
        widget->setGeometry(place);
        widget->setEnabled((control.style & WS_DISABLED) == 0);
        widget->installEventFilter(this);
        if (control.kind == ControlKind::GroupBox)
            widget->lower();
        if (control.id == IDC_STATIC)
            continue;
        widget->setProperty(kControlIdProperty, control.id);
        m_controls[control.id] = widget;
        if (control.kind == ControlKind::RadioButton) {
            if (group == nullptr)
                group = new QButtonGroup(this);
            group->addButton(static_cast<QAbstractButton*>(widget));
            m_radioGroups[control.id] = group;
        }
    }
}

QWidget* TemplateDialog::MakeControl(const DialogControl& control, const QIcon& icon) {
    const QString text = QString::fromUtf8(control.text);
    const int id = control.id;
    switch (control.kind) {
    case ControlKind::Static:
        return new QLabel(text, this);
    case ControlKind::GroupBox:
        return new QGroupBox(text, this);
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        const QRect size = DialogUnitsToPixels(m_units, 0, 0, control.w, control.h);
        label->setPixmap(icon.pixmap(std::min(size.width(), size.height())));
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, this);
        edit->setReadOnly((control.style & ES_READONLY) != 0);
        edit->setFrame((control.style & WS_BORDER) != 0);
        // Digits only as the user types; a text set by the program stands.
        if ((control.style & (ES_NUMBER | ES_HEXDIGITS)) != 0)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression((control.style & ES_NUMBER) != 0 ? "[0-9]*" : "[0-9A-Fa-f]*"),
                edit));
        return edit;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        button->setDefault((control.style & BS_DEFPUSHBUTTON) != 0);
        connect(button, &QPushButton::clicked, this,
                [this, id] { Route(id, ControlEvent::Clicked); });
        return button;
    }
    case ControlKind::RadioButton: {
        auto* button = new QRadioButton(text, this);
        button->setAutoExclusive(false);
        connect(button, &QRadioButton::clicked, this,
                [this, id] { Route(id, ControlEvent::Clicked); });
        return button;
    }
    case ControlKind::CheckBox: {
        auto* button = new QCheckBox(text, this);
        connect(button, &QCheckBox::clicked, this,
                [this, id] { Route(id, ControlEvent::Clicked); });
        return button;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(this);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy(
            (control.style & WS_VSCROLL) != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        if ((control.style & LBS_NOTIFY) != 0) {
            connect(list, &QListWidget::currentRowChanged, this,
                    [this, id] { Route(id, ControlEvent::SelectionChanged); });
            connect(list, &QListWidget::itemDoubleClicked, this,
                    [this, id] { Route(id, ControlEvent::DoubleClicked); });
        }
        return list;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(this);
        combo->setEditable((control.style & CBS_DROPDOWNLIST) == CBS_DROPDOWN);
        if (combo->isEditable())
            combo->setInsertPolicy(QComboBox::NoInsert);
        connect(combo, &QComboBox::activated, this,
                [this, id] { Route(id, ControlEvent::SelectionChanged); });
        return combo;
    }
    }
    return new QWidget(this);
}

void TemplateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Activation clears the mark's flag: set it once the window is up.
    QTimer::singleShot(0, this, [this] {
        setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget* focused = focusWidget())
            focused->update();
    });
}

int TemplateDialog::Run() {
    m_dialog.OnInitDialog();
    if (m_ended)
        return m_result;
    exec();
    return m_result;
}

QWidget* TemplateDialog::Control(int id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void TemplateDialog::Route(int id, ControlEvent event) {
    if (m_ended)
        return;
    m_dialog.OnCommand(id, event);
    FinishIfEnded();
}

void TemplateDialog::RouteHelp(QWidget* widget) {
    // Statics and the dialog itself have no id of their own: nothing shown.
    const int id = widget == this ? 0 : ControlIdOf(widget);
    m_dialog.OnHelpInfo(id == static_cast<int>(m_template.id) ? 0 : id);
}

void TemplateDialog::FinishIfEnded() {
    if (m_ended && isVisible())
        done(m_result);
}

void TemplateDialog::reject() {
    // Escape and the window's close button are Cancel.
    if (!m_ended)
        m_dialog.OnCancel();
    FinishIfEnded();
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    // In What's This mode a click on a control asks for its popup.
    if (event->type() == QEvent::QueryWhatsThis) {
        event->setAccepted(ControlIdOf(static_cast<QWidget*>(watched)) > 0);
        return true;
    }
    if (event->type() == QEvent::WhatsThis) {
        RouteHelp(static_cast<QWidget*>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDialog::EnableWindow(int id, bool enable) {
    if (QWidget* widget = Control(id))
        widget->setEnabled(enable);
}

bool TemplateDialog::IsWindowEnabled(int id) const {
    const QWidget* widget = Control(id);
    return widget != nullptr && widget->isEnabled();
}

std::string TemplateDialog::TextOrOriginal(int id, const QString& shown) const {
    const auto set = m_setTexts.find(id);
    if (set != m_setTexts.end() && set->second.second == shown)
        return set->second.first;
    return FromQString(shown);
}

std::string TemplateDialog::GetWindowText(int id) const {
    const QWidget* widget = Control(id);
    QString shown;
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        shown = edit->text();
    else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        shown = combo->currentText();
        // A chosen entry gives the bytes it was added with.
        const int chosen = combo->currentIndex();
        if (chosen >= 0 && combo->itemText(chosen) == shown)
            return combo->itemData(chosen).toByteArray().toStdString();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        shown = button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget))
        shown = label->text();
    else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        shown = box->title();
    else
        return {};
    return TextOrOriginal(id, shown);
}

void TemplateDialog::SetWindowText(int id, const std::string& text) {
    QWidget* widget = Control(id);
    if (widget == nullptr)
        return;
    const QString shown = ToQString(text);
    m_setTexts[id] = {text, shown};
    const QSignalBlocker quiet(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(shown);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(shown);
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(shown);
    }
}

void TemplateDialog::ReplaceEditText(int id, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    if (edit == nullptr)
        return;
    const QString shown = ToQString(text);
    m_setTexts[id] = {text, shown};
    const QSignalBlocker quiet(edit);
    // setText clears the undo history, as a replacement without an undo step does.
    edit->setText(shown);
    edit->end(false);
}

int TemplateDialog::IsDlgButtonChecked(int id) const {
    const auto* button = qobject_cast<const QAbstractButton*>(Control(id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void TemplateDialog::CheckDlgButton(int id, int state) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    if (button == nullptr || !button->isCheckable())
        return;
    const QSignalBlocker quiet(button);
    // An exclusive group would not let its checked button go.
    const auto group = m_radioGroups.find(id);
    if (group != m_radioGroups.end())
        group->second->setExclusive(false);
    button->setChecked(state != 0);
    if (group != m_radioGroups.end())
        group->second->setExclusive(true);
}

int TemplateDialog::AddString(int id, const std::string& text) {
    QWidget* widget = Control(id);
    const QSignalBlocker quiet(widget);
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        auto* item = new QListWidgetItem(ToQString(text));
        item->setData(Qt::UserRole, QByteArray::fromStdString(text));
        list->addItem(item);
        return list->count() - 1;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The edit of a combo box keeps its text when entries are added.
        const QString editText = combo->currentText();
        combo->addItem(ToQString(text), QByteArray::fromStdString(text));
        if (combo->isEditable())
            combo->setEditText(editText);
        return combo->count() - 1;
    }
    return -1;
}

void TemplateDialog::ResetContent(int id) {
    QWidget* widget = Control(id);
    const QSignalBlocker quiet(widget);
    if (auto* list = qobject_cast<QListWidget*>(widget))
        list->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->clear();
}

int TemplateDialog::GetCount(int id) const {
    const QWidget* widget = Control(id);
    if (const auto* list = qobject_cast<const QListWidget*>(widget))
        return list->count();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->count();
    return 0;
}

int TemplateDialog::GetCurSel(int id) const {
    const QWidget* widget = Control(id);
    if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
        const QListWidgetItem* item = list->currentItem();
        return item != nullptr && item->isSelected() ? list->row(item) : -1;
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentIndex();
    return -1;
}

void TemplateDialog::SetCurSel(int id, int index) {
    QWidget* widget = Control(id);
    const QSignalBlocker quiet(widget);
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        if (index >= 0 && index < list->count())
            list->setCurrentRow(index);
        else
            list->setCurrentRow(-1);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

std::string TemplateDialog::GetItemText(int id, int index) const {
    const QWidget* widget = Control(id);
    if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
        const QListWidgetItem* item = list->item(index);
        return item != nullptr ? item->data(Qt::UserRole).toByteArray().toStdString()
                               : std::string();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        if (index < 0 || index >= combo->count())
            return {};
        // Entries keep the bytes they were added with.
        return combo->itemData(index).toByteArray().toStdString();
    }
    return {};
}

void TemplateDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

} // namespace kelvane
