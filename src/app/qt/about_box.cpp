#include "app/qt/about_box.h"

#include "app/qt/program_icon.h"
#include "app/version_text.h"
#include "platform/qt/qt_text.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kelvane {

CAboutDlg::CAboutDlg(QWidget* parent, uint32_t productVersionMS, uint32_t productVersionLS,
                     bool useBuildVersion)
    : QDialog(parent) {
    setWindowTitle(ToQString(LoadResourceString(IDS_ABOUT_TITLE)));
    if (useBuildVersion) {
        productVersionMS = kProductVersionMS;
        productVersionLS = kProductVersionLS;
    }

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    m_version = new QLabel(QString::fromStdString(ComposeVersionText(
                               "Kelvane Version ", productVersionMS, productVersionLS)),
                           this);
    m_version->setObjectName("version");
    auto* copyright = new QLabel("Copyright (C) 2026 The Kelvane developers", this);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_version, 0, 1);
    layout->addWidget(copyright, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::VersionText() const {
    return m_version->text();
}

} // namespace kelvane
