// The words of the event file and the event list, as the user reads them: reading the
// file at start (event_load.cpp), the list's commands (event_commands.cpp) and the save at
// the end (event_save.cpp). Each message has its own name.
#pragma once

#include <QString>

namespace kalvo::event_messages {

// ---- reading the file at start, and the list's commands ---------------------------------
inline const QString kPathNotFound = QStringLiteral(
    "パスが見つかりません！\r\n正しいファイル名ではありません！\r\n"
    "ファイル選択するか、正しいファイル名を入力してください。");
inline const QString kFileErrorTitle = QStringLiteral("ファイルエラー");
inline const QString kNotADate = QStringLiteral("日付ではありません");
inline const QString kInputErrorTitle = QStringLiteral("入力エラー");
inline const QString kCannotChange = QStringLiteral("これは変更できません");
inline const QString kCannotAdd = QStringLiteral("これは追加できません");
inline const QString kDeleteQuestion = QStringLiteral("このデータを削除しますか？\r\n");
inline const QString kConfirmTitle = QStringLiteral("確認");
inline const QString kToday = QStringLiteral("TODAY");
inline const QString kUnstorable =
    QStringLiteral("次の文字は設定ファイルに保存できません：\r\n%1\r\nほかの文字に変えてください。");
inline const QString kNotRegular =
    QStringLiteral("%1 は通常のファイルではないため、読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
inline const QString kTooLargeToRead =
    QStringLiteral("%1 は大きすぎるため（%2 MB まで）、読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
inline const QString kNotAnEntry = QStringLiteral(
    "日付ではありません\r\n"
    "一覧には「名前@日付」の形で入れてください（例：母の誕生日@1950/4/29）。\r\n"
    "この形でない文字は、次の起動のときに一覧から消えてしまいます。");
inline const QString kUnsafeLinkAtStart = QStringLiteral(
    "%1 は、リンク先のないシンボリックリンクか、共有フォルダーにあるほかのユーザーのシンボリックリンクのため、"
    "読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
// A file cut inside its last line: what was found, then where the copy went or that none
// could be made.
inline const QString kCutShort = QStringLiteral(
    "%1 は Kalvo が書き終えたファイルの終わり方をしていません（保存が途中で止まったのかもしれません）。\r\n"
    "最後の行：%2\r\n");
inline const QString kCutShortKept =
    QStringLiteral("読み込んだときのファイルを次の場所に控えました：\r\n%1\r\n一覧の内容を確かめてください。");
inline const QString kCutShortNotKept =
    QStringLiteral("控えを保存できなかったため、この実行ではこのファイルに書き込みません。");

// ---- the save at the end -----------------------------------------------------------------
inline const QString kWriteError = QStringLiteral("設定ファイルの書き込みエラー");
inline const QString kErrorTitle = QStringLiteral("エラー");
inline const QString kChangedTitle = QStringLiteral("設定ファイルの変更");
inline const QString kBackToWindow = QStringLiteral("[キャンセル]　保存せずに Kalvo に戻ります");
inline const QString kChangedElsewhere = QStringLiteral(
    "%1 は、Kalvo が読み込んだ後にほかのプログラムで変更されました。\r\n\r\n"
    "[はい]　両方の変更をまとめて保存します\r\n"
    "[いいえ]　この画面の内容で上書きします\r\n");
inline const QString kChangedUnreadable = QStringLiteral(
    "%1 は、Kalvo が読み込んだ後にほかのプログラムで変更され、設定ファイルとして読めなくなっています。\r\n\r\n"
    "[はい]　この画面の内容で上書きします\r\n"
    "[いいえ]　保存しません\r\n");
inline const QString kFolderGone = QStringLiteral("設定ファイルのフォルダーが見つからないため、保存できません：\r\n%1");
inline const QString kUnsafeLink = QStringLiteral(
    "%1 は、リンク先のないシンボリックリンクか、共有フォルダーにあるほかのユーザーのシンボリックリンクのため、"
    "保存できません：\r\n%2");
inline const QString kOfferHome = QStringLiteral(
    "\r\n\r\n"
    "ホームフォルダーに保存しますか？\r\n%1\r\n\r\n"
    "[はい]　ホームフォルダーに保存します\r\n"
    "[いいえ]　保存しません\r\n");
inline const QString kBusy = QStringLiteral(
    "%1 は、ほかの Kalvo が保存している途中のため、まだ保存できません。\r\n\r\n"
    "[はい]　もう一度待ちます\r\n"
    "[いいえ]　この画面の内容をホームフォルダーの別のファイルに保存します\r\n");
inline const QString kKeptAtEnd =
    QStringLiteral("終了のとき %1 に保存できなかったため（%2）、変更を次のファイルに保存しました：\r\n%3");
inline const QString kWhyBusy = QStringLiteral("ほかの Kalvo が保存中でした");
inline const QString kWhyWriteError = QStringLiteral("書き込みエラー");
inline const QString kSavedCopyTitle = QStringLiteral("保存");
inline const QString kSavedCopy = QStringLiteral("設定ファイルを次の場所に保存しました：\r\n%1");
inline const QString kTooLargeToSave = QStringLiteral(
    "設定ファイルの書き込みエラー\r\n"
    "保存する内容が %1 MB を超えるため、保存しませんでした（元のファイルはそのままです）。\r\n"
    "何の日？の項目を減らしてから、もう一度終了してください。");
inline const QString kNoRecoveryCopy = QStringLiteral(
    "設定ファイルの書き込みエラー\r\n"
    "%1 にはファイルそのものに書き込む必要がありますが、中断に備えた控えを次のフォルダーに書けないため、"
    "保存しませんでした（元のファイルはそのままです）：\r\n%2");
inline const QString kRecovered = QStringLiteral("前回中断された設定ファイルの保存を完了しました：\r\n%1");
inline const QString kRecoveredElsewhere = QStringLiteral(
    "前回中断された設定ファイルの保存がありましたが、%1 はその後ほかのプログラムで変更されていたため、"
    "そのままにしました。\r\n中断された保存の内容は次の場所に保存しました：\r\n%2");
inline const QString kRecoveryFailed = QStringLiteral(
    "前回中断された設定ファイルの保存を完了できませんでした：\r\n%1\r\n次の起動のときにもう一度試します。");
// An unreadable journal: what it may mean and where it went, then where the file as found
// was kept, when it could be.
inline const QString kJournalUnreadable = QStringLiteral(
    "前回中断された設定ファイルの保存の控えが読めません（壊れているか、新しい版の Kalvo のものです）。\r\n"
    "%1 は途中まで書き込まれている可能性があります。一覧の内容を確かめてください。\r\n"
    "控えは消さずに次の場所に移しました：\r\n%2");
inline const QString kJournalUnreadableKept = QStringLiteral("\r\n今のファイルの内容は次の場所に保存しました：\r\n%1");
inline const QString kJournalUntrusted = QStringLiteral(
    "中断された保存の控え %1 は、Kalvo がこのユーザーのために作ったものと確かめられないため、使いません。");
inline const QString kStateFolderUntrusted = QStringLiteral(
    "Kalvo の状態フォルダー %1 は%2ため、使いません。\r\n"
    "中断された保存の控えをそこに置くことも、そこから戻すこともしません。");

}  // namespace kalvo::event_messages
