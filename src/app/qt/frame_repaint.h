// SPDX-License-Identifier: MIT
#pragma once

#include "app/qt/main_frame.h"
#include "platform/desktop/repaint.h"

namespace kelvane {

// The repaint service of the desktop front: the application is made before
// its window, so the window is attached once it exists.
class FrameRepaint : public RepaintService {
public:
    void Attach(CMainFrame* frame) { m_frame = frame; }
    void Repaint() override {
        if (m_frame != nullptr)
            m_frame->Repaint();
    }

private:
    CMainFrame* m_frame = nullptr;
};

} // namespace kelvane
