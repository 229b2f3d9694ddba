// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <QStringList>
#include <QWidget>

namespace kelvane {

// The main window's client area: the project summary at fixed pixel
// positions, drawn from the settings on every paint.
class CKLVN_MAINView : public QWidget {
    Q_OBJECT

public:
    explicit CKLVN_MAINView(const ProjectSettings& settings, QWidget* parent = nullptr);

    // A fixed-pitch font 15 pixels high.
    static QFont SummaryFont();
    // The texts a paint draws, in drawing order, as Qt shows them.
    QStringList DisplayTexts() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ProjectSettings& m_settings;
};

} // namespace kelvane
