# SPDX-License-Identifier: MIT
# The help pages and popups of both languages, relative to help/.
set(kelvane_help_pages
    en/index.html
    en/main_window.html
    en/comm_setting.html
    en/file_model_setting.html
    en/KLVN_MAIN_pop.txt
    ja/index.html
    ja/main_window.html
    ja/comm_setting.html
    ja/file_model_setting.html
    ja/KLVN_MAIN_pop.txt
)
