// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"
#include "ui/qt/help_topic_window.h"
#include "ui/qt/text_popup.h"

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>

class QHelpEngine;
class QTemporaryDir;

namespace kelvane {

// The help viewer over Qt Help. The help file holds every page twice, in
// en/ and ja/, and registers each context id per language as
// "<lang>.0x<hex id>" (see help/README.md); the pages and popups of the
// current resource language are shown, the English ones when a Japanese
// one is missing; the window's contents, index and search list the
// current language's entries only. The engine's collection is made afresh
// for each run in a private temporary folder, so runs never share or
// inherit its state.
class QtHelpViewer : public HelpViewer {
public:
    QtHelpViewer();
    ~QtHelpViewer() override;

    // The window the topic window stays above (the main window); may be null.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    bool Load(const std::string& helpFile) override;
    bool ShowTopic(uint32_t contextId) override;
    bool ShowPopup(const HelpPopupRequest& request) override;
    bool ShowContents() override;
    bool ShowIndex() override;
    bool ShowSearch() override;

    // The page of a context id in the current language; empty when none.
    QUrl TopicUrl(uint32_t contextId) const;
    // The text of a popup topic from the named popup file, in the current
    // language; nothing when the topic is missing or empty.
    std::optional<QString> PopupText(const QString& popupFile, uint32_t topicId) const;

    // The windows shown last, while they are open.
    HelpTopicWindow* TopicWindow() const { return m_window; }
    TextPopup* Popup() const { return m_popup; }

private:
    QUrl FileUrl(const QString& language, const QString& file) const;
    // The contents page of the first language that has one; empty when none.
    QUrl ContentsPage() const;
    HelpTopicWindow& Window();
    bool ShowPanel(HelpTopicWindow::Panel panel);

    std::unique_ptr<QTemporaryDir> m_collectionFolder;
    std::unique_ptr<QHelpEngine> m_engine;
    QString m_namespace;
    QPointer<QWidget> m_owner;
    QPointer<HelpTopicWindow> m_window;
    QPointer<TextPopup> m_popup;
};

} // namespace kelvane
