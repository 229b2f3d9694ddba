#include "res/string_ids.h"
#include "res/string_table.h"

namespace kelvane {
namespace {

const StringEntry kJapanese[] = {
    {IDS_CANNOT_READ, "読み込めません。"},
    {IDS_TOO_MANY_CATEGORIES, "カテゴリが多すぎます"},
    {IDS_TOO_LONG_CATEGORY_NAME, "カテゴリ名が長すぎます"},
    {IDS_TOO_MANY_DEFINITIONS, "定義が多すぎます"},
    {IDS_TOO_LONG_KEY_NAME, "キー名が長すぎます"},
    {IDS_TOO_LONG_SETTING_VALUE, "設定値が長すぎます"},
    {IDS_WRITE_FAILED, "書き込みに失敗しました"},
    {IDS_DEFINITION_NOT_FOUND, "データ定義行 %s が見つかりません。"},
    {IDS_MAXPAGE_NOT_VALID, "MAXPAGE が正しくありません"},
    {IDS_VALUE_TOO_LONG_FOR_FIELD, "%s の値が長すぎます (最大 %s 文字)。"},
    {IDS_PATH_TOO_LONG, "パスがこのシステムで扱える長さを超えています。"},
};

} // namespace

std::span<const StringEntry> JapaneseStrings() {
    return kJapanese;
}

} // namespace kelvane
