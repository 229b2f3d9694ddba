#include "res/string_ids.h"
#include "res/string_table.h"

namespace kelvane {
namespace {

const StringEntry kJapanese[] = {
    {IDS_CAPTION_CONFIRM, "確認"},
    {IDS_MCR_NOT_WRITABLE, "MCR ファイルに書き込めません。"},
    {IDS_MCR_WRITE_ERROR, "MCR ファイルの書き込み中にエラーが発生しました。"},
    {IDS_SBU_NOT_WRITABLE, "SBU ファイルに書き込めません。"},
    {IDS_SBU_WRITE_ERROR, "SBU ファイルの書き込み中にエラーが発生しました。"},
    {IDS_UER_NOT_WRITABLE, "UER ファイルに書き込めません。"},
    {IDS_UER_WRITE_ERROR, "UER ファイルの書き込み中にエラーが発生しました。"},
    {IDS_CANNOT_READ, "読み込めません。"},
    {IDS_TOO_MANY_CATEGORIES, "カテゴリが多すぎます"},
    {IDS_TOO_LONG_CATEGORY_NAME, "カテゴリ名が長すぎます"},
    {IDS_TOO_MANY_DEFINITIONS, "定義が多すぎます"},
    {IDS_TOO_LONG_KEY_NAME, "キー名が長すぎます"},
    {IDS_TOO_LONG_SETTING_VALUE, "設定値が長すぎます"},
    {IDS_WRITE_FAILED, "書き込みに失敗しました"},
    {IDS_DEFINITION_NOT_FOUND, "データ定義行 %s が見つかりません。"},
    {IDS_MAXPAGE_NOT_VALID, "MAXPAGE が正しくありません"},
    {IDS_VERSION_READ_FAILURE, "バージョン情報の読み込みに失敗しました"},
    {IDS_HEADER_READ_FAILURE, "ヘッダ情報の読み込みに失敗しました"},
    {IDS_HEADER_ID_NOT_VALID, "ヘッダ情報(リソース ID)が正しくありません。"},
    {IDS_HEADER_SIZE_NOT_VALID, "ヘッダ情報(サイズ情報)が正しくありません。"},
    {IDS_DATA_READ_FAILURE, "データの読み込みに失敗しました。"},
    {IDS_VERSION_WRITE_FAILURE, "バージョン情報の書き込みに失敗しました"},
    {IDS_HEADER_INIT_FAILURE, "ヘッダ情報の初期化に失敗しました。"},
    {IDS_DATA_WRITE_FAILURE, "データの書き込みに失敗しました。"},
    {IDS_HEADER_WRITE_FAILURE, "ヘッダ情報の書き込みに失敗しました。"},
    {IDS_VALUE_TOO_LONG_FOR_FIELD, "%s の値が長すぎます (最大 %s 文字)。"},
    {IDS_PATH_TOO_LONG, "パスがこのシステムで扱える長さを超えています。"},
    {IDS_FSR_RECORD_TOO_LARGE,
     "FSR ファイルのレコード %s が 16384 バイトを超えるため、FSR ファイルを書き込みませんでした。"},
};

} // namespace

std::span<const StringEntry> JapaneseStrings() {
    return kJapanese;
}

} // namespace kelvane
