// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"
#include "platform/dialog/dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// "Select model": the model name the next save writes, chosen from the
// installed models other than the current one, or typed.
class CModelSelectDlg : public CDialog {
public:
    CModelSelectDlg(MessageBoxService& messageBoxes,
                    std::function<std::vector<std::string>()> installedModels,
                    DialogRunner& runner);

    bool OnInitDialog() override;
    void OnOK() override;

    std::string m_strModel;
    std::string m_strCurrentModel;

protected:
    void DoDataExchange(CDataExchange& exchange) override;

private:
    MessageBoxService& m_messageBoxes;
    std::function<std::vector<std::string>()> m_installedModels;
};

} // namespace kelvane
