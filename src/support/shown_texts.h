#pragma once
// Every text the setup shows that its dialog tables do not hold: the texts its pages take while it
// runs, the boxes' texts and captions, the window's caption and the folder chooser's title. They
// stand here once, so the dialogs' face can be checked against all of them (see ShownTexts).
#include <span>
#include <string_view>

#include "support/cp932_literal.h"

#define SETUP_SHOWN_TEXTS(X)                                                                              \
    X(kCaptionFormat, "　『%s』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ")                                                         \
    X(kBytesUnit, "ﾊﾞｲﾄ")                                                                                 \
    X(kInstallButton, "ｲﾝｽﾄｰﾙ")                                                                           \
    X(kUninstallButton, "ｱﾝｲﾝｽﾄｰﾙ")                                                                       \
    X(kLoadFailed, "初期データのロードor登録に失敗しました！")                                            \
    X(kErrorCaption, "エラー")                                                                            \
    X(kDiskFull, " ドライブに十分な空き容量がありません。")                                               \
    X(kDestinationErrorCaption, "インストール先のエラー")                                                 \
    X(kInsertMediumFormat, "【『%s』を挿入したドライブを指定してください】")                              \
    X(kUnknownDrive, "ドライブが判別できません！")                                                        \
    X(kInstallErrorCaption, "インストールエラー")                                                         \
    X(kBadDriveName, "ドライブ名指定が正しくありません。再入力してください。")                            \
    X(kChangeFolderFailed, "カレントフォルダの移動に失敗しました。")                                      \
    X(kCreateFolderQuestion, "指定されたフォルダは存在しません。フォルダを作成しますか？")                \
    X(kCreateFolderCaption, "インストールフォルダの作成")                                                 \
    X(kCreateFolderFailed, "フォルダの作成に失敗しました。")                                              \
    X(kCopyErrorCaption, "ｺﾋﾟｰのｴﾗｰ")                                                                     \
    X(kFileNotFoundFormat, "%s ﾌｧｲﾙが見つかりません！")                                                   \
    X(kOpenReadFailedFormat, "%s ﾌｧｲﾙ(Read)のｵｰﾌﾟﾝに失敗！")                                              \
    X(kOpenWriteFailedFormat, "%s ﾌｧｲﾙ(Write)のｵｰﾌﾟﾝに失敗！")                                            \
    X(kMemoryFailed, "ﾒﾓﾘの確保に失敗！")                                                                 \
    X(kCreatingFolders, "フォルダを作成中...")                                                            \
    X(kWritingRegistry, "レジストリを設定中...")                                                          \
    X(kCopyingPrefix, "コピー中...　")                                                                    \
    X(kDirectXFailed, "DirectXのｾｯﾄｱｯﾌﾟの実行に失敗しました！")                                           \
    X(kDirectXCaption, "DirectXのｾｯﾄｱｯﾌﾟ")                                                                \
    X(kChooserTitle, "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定")                                                               \
    X(kChooserFailed, "ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞの指定に失敗しました！")                                            \
    X(kChooserErrorCaption, "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞのｴﾗｰ")                                                         \
    X(kGameFailed, "ｹﾞｰﾑの実行に失敗しました！")                                                          \
    X(kTransferring, "ｲﾝｽﾄｰﾙﾌｧｲﾙの転送中...")                                                             \
    X(kRemovingInstalled, "ｲﾝｽﾄｰﾙﾌｧｲﾙを削除中...")                                                        \
    X(kInstallDone, "ｲﾝｽﾄｰﾙが正常に終了しました！")                                                       \
    X(kInstallFailed, "ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！")                                                    \
    X(kCancelSetupQuestion, "ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？")                                                   \
    X(kNoUninstallPlan, "ｲﾝｽﾄｰﾙ情報が読み取れないため、ｱﾝｲﾝｽﾄｰﾙできません。もう一度ｲﾝｽﾄｰﾙしてください。") \
    X(kUninstallDone, "ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！")                                                   \
    X(kCancelUninstallQuestion, "ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙさせると正しくﾃﾞｰﾀが削除されません。ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙしますか？")

namespace support::texts {

#define SETUP_DECLARE_TEXT(name, text) extern const std::string_view name;
SETUP_SHOWN_TEXTS(SETUP_DECLARE_TEXT)
#undef SETUP_DECLARE_TEXT

// All of the above, in the order listed.
std::span<const std::string_view> All();

}  // namespace support::texts
