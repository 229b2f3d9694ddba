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
    {IDS_FILTER_PROJECT, "プロジェクトファイル(*.fsp)"},
    {IDS_TITLE_OPEN_PROJECT, "プロジェクトファイルを開く"},
    {IDS_TITLE_SAVE_PROJECT_AS, "名前を付けてプロジェクトファイルを保存"},
    {IDS_FILTER_MPV, "MPU 固有情報ファイル(*.mpv)"},
    {IDS_TITLE_MPV, "MPV ファイルの指定 "},
    {IDS_OVERWRITE_QUESTION, "%s を上書きしてよろしいですか?"},
    {IDS_FSP_READ_FAILURE, "FSP ファイルの読み込みに失敗しました。\n"},
    {IDS_CAPTION_REPORT, "報告"},
    {IDS_FSR_READ_FAILURE, "FSR ファイルの読み込みに失敗しました。\n"},
    {IDS_FSR_NOT_IN_SYNC, "FSR ファイルがプロジェクトと一致していません。\n"},
    {IDS_FSP_FILE_NAME, "FSP ファイル名: "},
    {IDS_FSR_FILE_NAME, "FSR ファイル名: "},
    {IDS_SAVE_ABORTED, "設定が正しくないため保存を中止しました\n"},
    {IDS_ICE_IP_UNDEFINED, "ICE 接続 (IP アドレスが設定されていません。)"},
    {IDS_ICE_PORT_UNDEFINED, "ICE 接続 (通信ポートが設定されていません。)"},
    {IDS_ICE_USB_UNDEFINED, "ICE 接続 (USB デバイスが設定されていません。)"},
    {IDS_ICE_USB_INVALID, "ICE 接続 (USB デバイスの設定が正しくありません。)"},
    {IDS_MCS_IP_UNDEFINED, "マルチコアサーバ接続 (IP アドレスが設定されていません。)"},
    {IDS_MCS_PORT_UNDEFINED, "マルチコアサーバ接続 (通信ポートが設定されていません。)"},
    {IDS_MPV_UNDEFINED, "MPV ファイルの場所が設定されていません。"},
    {IDS_FILTER_MCI, "デバイス構成定義ファイル (*.mci)"},
    {IDS_TITLE_MCI, "MCI ファイルの指定"},
    {IDS_FILTER_FRD, "フラッシュメモリ定義ファイル (*.frd)"},
    {IDS_TITLE_FRD, "FRD ファイルの指定"},
    {IDS_PROJECT_FILE_NOT_SAVED, "プロジェクトファイル %s を保存できませんでした。\n"},
    {IDS_FSR_FILE_NOT_SAVED, "FSR ファイル %s を保存できませんでした。\n"},
    {IDS_VIEW_OPENED_PROJECT, "開いているプロジェクト: %s"},
    {IDS_VIEW_TARGET_SYSTEM, "ターゲットシステム: "},
    {IDS_VIEW_NOT_SUPPORTED, "未対応"},
    {IDS_VIEW_MODEL_NAME, "型名: "},
    {IDS_VIEW_FSP_FILE, " FSP ファイル: %s"},
    {IDS_VIEW_COMPANION_FILE, " %s ファイル: %s"},
    {IDS_VIEW_FILE_NOT_EXIST, "(ファイルが存在しません。)"},
    {IDS_VIEW_SYNC, "[SYNC]"},
    {IDS_VIEW_NOT_SYNC, "[NOT SYNC]"},
};

} // namespace

std::span<const StringEntry> JapaneseStrings() {
    return kJapanese;
}

} // namespace kelvane
