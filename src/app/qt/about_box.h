#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;

namespace kelvane {

// "Version Information": the icon, the composed version line and the
// copyright line.
class CAboutDlg : public QDialog {
public:
    // The version words default to the build's.
    explicit CAboutDlg(QWidget* parent = nullptr, uint32_t productVersionMS = 0,
                       uint32_t productVersionLS = 0, bool useBuildVersion = true);

    QString VersionText() const;

private:
    QLabel* m_version;
};

} // namespace kelvane
