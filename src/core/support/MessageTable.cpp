#include "core/support/Messages.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <vector>

namespace tessaro {
namespace {

struct MessageEntry {
  int id;
  const char* text;
};

// Sorted by number. Each feature area keeps its entries in its own block.
constexpr MessageEntry kMessages[] = {
    // --- program constants (1000s) ---
    {MsgVersion, "Version 1.1.0.1"},
    {MsgNotice, "Corvex レコーダ ユーティリティ"},
    {MsgHelpFile, "HELP\\TESSARO.HLP"},
    {MsgEdition, "WindowsXp/Vista/7　対応版"},
    {MsgProgramName, "Corvex Tessaro"},
    {MsgMutexName, "CVXWIN.TES"},
    {MsgShortName, "Tessaro"},
    {MsgTypeChar, "文字型"},
    {MsgTypeInteger, "整数型"},
    {MsgTypeUnsigned, "正整数型"},
    {MsgTypeLong, "倍長整数型"},
    {MsgTypeReal, "実数型"},
    {MsgTypeDouble, "倍長実数型"},
    {MsgTypeMemo, "メモ型"},
    {MsgTypeMemo16, "メモ16型"},
    {MsgTypeDateTime, "日付時刻型"},
    {MsgTypeBit8, "ビット8型"},
    {MsgTypeBit16, "ビット16型"},
    {MsgTypeBit32, "ビット32型"},
    {MsgSlavePanel, "スレーブ[%d]"},
    {MsgBtnLink, "通信条件の設定"},
    {MsgBtnPath, "環境の設定"},
    {MsgBtnTrans, "データ回収"},
    {MsgBtnInput, "モニター"},
    {MsgBtnClock, "ロガー時刻の設定"},
    {MsgBtnMemo, "ユーザーメモの設定"},
    {MsgBtnMode, "測定モードの設定"},
    {MsgBtnItvl, "測定間隔の設定"},
    {MsgBtnCoef, "制御係数の確認"},
    {MsgBtnTerm, "ターミナル"},
    {MsgBtnMot, "ファームウェア書込み"},
    {MsgBtnExit, "終了"},
    {MsgBtnConvert, "ファイル変換"},
    {MsgHintLink, "シリアルポートの通信条件を設定します"},
    {MsgHintPath, "データを管理するフォルダを設定します"},
    {MsgHintTrans, "ロガーからデータを回収します"},
    {MsgHintInput, "ロガーにコマンドを連続送信しエコーバックを確認します"},
    {MsgHintClock, "ロガーの時刻を設定します"},
    {MsgHintMemo, "ロガーのユーザーメモを設定します"},
    {MsgHintMode, "ロガーの測定モードを設定します"},
    {MsgHintItvl, "ロガーの測定間隔を設定します"},
    {MsgHintCoef, "ロガーの制御係数を表示します"},
    {MsgHintTerm, "ロガーにコマンドを送信しエコーバックを確認します"},
    {MsgHintMot, "新しいファームウェアをロガーに書込みます"},
    {MsgHintExit, "Corvex　Tessaroを終了します"},
    {MsgHintConvert, "ロガーからデータを回収します"},
    {MsgHintSlave, "マルチリンクのスレーブIDを設定します"},
    {MsgHintAbout, "バージョン情報を表示します"},
    {MsgMenuFunctions, "機能(&P)"},
    {MsgMenuLink, "通信条件の設定(&L)..."},
    {MsgMenuPath, "環境の設定(&E)..."},
    {MsgMenuTrans, "データ回収(&T)..."},
    {MsgMenuInput, "モニター(&P)..."},
    {MsgMenuClock, "ロガー時刻の設定(&C)..."},
    {MsgMenuMemo, "ユーザーメモの設定(&E)..."},
    {MsgMenuMode, "測定モードの設定(&M)..."},
    {MsgMenuItvl, "測定間隔の設定(&V)..."},
    {MsgMenuCoef, "制御係数の確認(&O)..."},
    {MsgMenuTerm, "ターミナル(&R)..."},
    {MsgMenuMot, "ファームウェア書込み(&W)..."},
    {MsgMenuConvert, "ファイル変換（&N）..."},
    {MsgMenuExit, "Tessaroの終了(&X)"},
    {MsgMenuMultiLink, "マルチリンク(&M)"},
    {MsgMenuSlave, "スレーブIDの設定(&S)..."},
    {MsgMenuHelp, "ヘルプ(&H)"},
    {MsgMenuHelpContents, "目次(&C)"},
    {MsgMenuKeyHelp, "キーワード検索(&K)"},
    {MsgMenuInet, "ホームページ(&I)"},
    {MsgMenuAbout, "バージョン情報(&A)..."},
    {MsgPanelHighSpeed, "高速"},
    {MsgPanelExtended, "拡張"},
    {MsgLampDtr, "DTR"},
    {MsgLampDsr, "DSR"},
    {MsgLampRts, "RTS"},
    {MsgLampCts, "CTS"},
    {MsgMotCaption, "ファームウェア書込み"},
    {MsgMotTransferring, "ファームウェア転送中..."},
    {MsgMotDone, "正常にプログラム書込み動作が終了しました。"},
    {MsgMotFailed, "プログラム書込み中エラーが発生しました。"},
    {MsgMotFilter, "MOTﾌｧｲﾙ(*.MOT)|*.MOT|すべてのﾌｧｲﾙ(*.*)|*.*"},
    {MsgPathTitle, "フォルダーを選択して下さい。"},
    {MsgDefinitionDbMissing,
     "レコーダ定義データベース(DB/Master.mdb)を開けませんでした。\nこの機能は使用できません。"},
    {MsgGaugeMessageGroup, " メッセージ "},
    {MsgGaugeProgressGroup, " 進行状況 "},
    {MsgGaugeCancel, "中止"},
    {MsgAboutCaption, "バージョン情報"},
    {MsgOkButton, "OK"},
    {MsgCancelButton, "ｷｬﾝｾﾙ"},
    {MsgSlaveCaption, "スレーブＩＤの設定"},
    {MsgSlaveGroup, " スレーブ "},
    {MsgSlaveOff, "無効"},
    {MsgSlaveOn, "有効"},
    {MsgSlaveIdLabel, "スレーブID"},

    // --- shared messages (2000-2050) ---
    {MsgOutOfMemory, "メモリーアロケーションに失敗しました。"},
    {MsgFormInitFailed, "フォームの初期化に失敗しました。"},
    {MsgWindowPosAccess, "ウインドウ位置情報にアクセスできませんでした。"},
    {MsgLineCheckFailed, "通信条件に問題があります。"},
    {MsgNoEchoBack, "レコーダからのエコーバックがありません。"},
    {MsgOldComctl,
     "パソコンに古いCOMCTL32.DLLがインストールされています。\n最新のCOMCTL32."
     "DLLをインストールして下さい。"},
    {MsgPortInUseRetry, "指定ポートは使用中か使用禁止状態です。\n他のポートを使用しますか？。"},
    {MsgPortUnusable, "設定された通信ポートは使用できません。\nプログラムを中止します。"},
    {MsgCollectionSettingsAccess, "データ回収情報にアクセスできませんでした。"},
    {MsgCancelPressed, "中止ボタンが押されました。"},

    // --- communication line (3000s) ---
    {MsgCommOpenError, "通信ポートオープンエラー ErrorCode = %d"},
    {MsgComEnvCaption, "通信条件"},
    {MsgComEnvPort, "通信ポート"},
    {MsgComEnvBaud, "シリアル・通信速度"},
    {MsgComEnvData, "シリアル・データビット"},
    {MsgComEnvStop, "シリアル・ストップビット"},
    {MsgComEnvParity, "シリアル・パリティビット"},
    {MsgComEnvIpAddr, "ネットワーク・ＩＰアドレス"},
    {MsgComEnvIpPort, "ネットワーク・ポート番号"},
    {MsgComEnvOver, "通信タイムアウト秒数"},
    {MsgComEnvSave, "保存"},
    {MsgParityNone, "なし"},
    {MsgParityOdd, "奇数"},
    {MsgParityEven, "偶数"},
    {MsgBadServerPort, "サーバーポートの指定に誤りがあります。"},
    {MsgComSettingsAccess, "通信設定情報にアクセスできませんでした。"},

    // --- data file analysis (3500-3549) ---
    {MsgWorkFileCreate, "作業ファイルを作成できませんでした。"},
    {MsgWorkFileCopy, "作業ファイルのコピーに失敗しました。"},
    {MsgWorkFileOpen, "作業ファイルをオープンできませんでした。"},
    {MsgRlbHeaderError, "RLBファイルを解析中にエラーが発生しました。"},
    {MsgRlbTupleError, "RLBファイルのタプル情報を解析中にエラーが発生しました。"},
    {MsgModeNotInDb,
     "測定モードﾞ(%d)情報がＤＢに登録されていません。\nCorvexのバージョンアップをお勧めします。"},
    {MsgOverwrittenData, "測定データ中にオーバーライトされたデータ(%dデータ以降)が存在します。"},
    {MsgBatteryLowData, "測定データ中にバッテリLOWレベル(%dデータ以降)を検出しました。"},
    {MsgIntervalSeconds, "%d 秒"},
    {MsgIntervalMinutes, "%d 分"},
    {MsgIntervalHours, "%d 時間"},

    // --- ring collection thread (3600-3659) ---
    {MsgCollectGathering, "レコーダ情報を収集中..."},
    {MsgRlbCreateFailed, "ファイルの作成に失敗しました。"},
    {MsgRingCountReadFailed, "リング数の読込みに失敗しました。"},
    {MsgAttributeSizeReadFailed, "アトリビュート・サイズの読込みに失敗しました。"},
    {MsgAttributeSizeInvalid, "アトリビュート・サイズが不正です。"},
    {MsgRlbHeaderWriteFailed, "RLBファイル・ヘッダーの書込みに失敗しました。"},
    {MsgFileTypeWriteFailed, "ファイルタイプの書込みに失敗しました。"},
    {MsgVersionReadFailed, "バージョン情報の読込みに失敗しました。"},
    {MsgVersionWriteFailed, "バージョン情報の書込みに失敗しました。"},
    {MsgModelReadFailed, "モデルコード情報の読込みに失敗しました。"},
    {MsgModelWriteFailed, "モデルコード情報の書込みに失敗しました。"},
    {MsgSubModelReadFailed, "サブモデルコード情報の読込みに失敗しました。"},
    {MsgSubModelWriteFailed, "サブモデルコード情報の書込みに失敗しました。"},
    {MsgRomVersionReadFailed, "ROMバージョンコード情報の読込みに失敗しました。"},
    {MsgRomVersionWriteFailed, "ROMバージョンコード情報の書込みに失敗しました。"},
    {MsgFileMemoWriteFailed, "RLBファイルメモの書込みに失敗しました。"},
    {MsgCollectionTimeWriteFailed, "回収時間の書込みに失敗しました。"},
    {MsgRomAreaReading, "ROMタプル情報読込み中..."},
    {MsgRomAreaFailed, "ROMタプルの転送に失敗しました。"},
    {MsgEepAreaReading, "EEPタプル情報読込み中..."},
    {MsgEepAreaFailed, "EEPタプルの転送に失敗しました。"},
    {MsgBattAreaReading, "BATTタプル情報読込み中..."},
    {MsgBattAreaFailed, "BATTタプルの転送に失敗しました。"},
    {MsgFilePointerReadFailed, "FILEポインタの読込みに失敗しました。"},
    {MsgFilePointerWriteFailed, "FILEポインタの書込みに失敗しました。"},
    {MsgByteCountReadFailed, "測定データバイト数の読込みに失敗しました。"},
    {MsgNewRingReading, "NEWリングデータ読込み中..."},
    {MsgOldRingReading, "OLD-%.2dリングデータ読込み中..."},
    {MsgDataTransferFailed, "データの転送に失敗しました。"},
    {MsgStartPointerWriteFailed, "スタートポインタの書込みに失敗しました。"},
    {MsgStopPointerWriteFailed, "ストップポインタの書込みに失敗しました。"},
    {MsgIntervalReadFailed, "測定間隔の読込みに失敗しました。"},
    {MsgStartTimeReadFailed, "測定開始時刻の読込みに失敗しました。"},
    {MsgStartTimeWriteFailed, "測定開始時刻の書込みに失敗しました。"},
    {MsgDataCountReadFailed, "測定データ数の読込みに失敗しました。"},
    {MsgDataCountWriteFailed, "測定データ数の書込みに失敗しました。"},
    {MsgByteCountWriteFailed, "測定データバイト数の書込みに失敗しました。"},
    {MsgRlbManagementWriting, "RLB管理情報書込み中..."},
    {MsgBattAccessFailed, "BATTタプルへのアクセスに失敗しました。"},
    {MsgCollectCaption, "データ回収"},

    // --- collection dialog (4600-4649) ---
    {MsgTransCaption, "データ回収選択"},
    {MsgManagementCaption, "管理情報の読込み"},
    {MsgManagementReading, "係数読込み中..."},
    {MsgMaxRingCountReadFailed, "最大リング数の読込みに失敗しました。"},
    {MsgSerialReadFailed, "シリアル番号の読込みに失敗しました。"},
    {MsgDataAreaSizeReadFailed, "データエリアサイズの読込みに失敗しました。"},
    {MsgChannelCountReadFailed, "測定チャンネル数の読込みに失敗しました。"},
    {MsgModeReadFailed, "測定モードの読込みに失敗しました。"},
    {MsgSizeReadFailed, "測定サイズの読込みに失敗しました。"},
    {MsgStopTimeReadFailed, "測定終了時刻の読込みに失敗しました。"},
    {MsgQ5NoPulseTime, "PULSE.TIMEモードはサポートしていません。"},
    {MsgQ5NoMode600,
     "Average of WinSPD & WinDIR(50-60min/Hour Mode)モードはサポートしていません。"},
    {MsgQ5NoMode601, "Average of WinSPD & WinDIR(Integral Mode)モードはサポートしていません。"},
    {MsgQ5NoMode602, "Max WinSPD & WinDIR(50-60min/Hour Mode)モードはサポートしていません。"},
    {MsgQ5NoMode603, "Most of WinDIR(50-60min/Hour Mode)モードはサポートしていません。"},
    {MsgQ5NoMode604, "Most of WinDIR(Integral Mode)モードはサポートしていません。"},
    {MsgQ5NoMode605, "Instant of WinDIR(Integral Mode)モードはサポートしていません。"},
    {MsgQ5NoMode606, "Max WinSPD & WinDIR(00-60min/Hour Mode)モードはサポートしていません。"},
    {MsgQ5NoMode607, "Average of WinSPD(Integral Mode)モードはサポートしていません。"},
    {MsgFileNamesFailed, "ファイル名称の作成に失敗しました。"},
    {MsgNoRingSelected, "リングが選択されていません。"},
    {MsgAllOverwritten, "測定データはオーバーライトされています。\nデータ回収できません。"},
    {MsgAskDropOverwritten,
     "オーバーライトされたデータがあります。\nオーバーライトデータを削除しファイルにします、宜しい"
     "ですか？"},
    {MsgCollectionAbandoned, "データ回収を中止します。"},
    {MsgCsvNamesRlb, "CSVファイルにRLBファイルと同じ名前は使えません。"},
    {MsgAskReplaceRlb, "%s は既に存在します。\n置き換えますか？"},
    {MsgTransRecorder, "レコーダ"},
    {MsgTransRlbSave, "RLBファイル保存"},
    {MsgCsvTypeGroup, "　CSV保存形式　"},
    {MsgCsvTypeQ5, "Q5ｼﾘｰｽﾞ形式"},
    {MsgCsvTypeCorvex, "Corvex形式"},
    {MsgTransVersion, "ﾊﾞｰｼﾞｮﾝ"},
    {MsgTransSerial, "ｼﾘｱﾙ番号"},
    {MsgTransRing, "ﾘﾝｸﾞ"},
    {MsgTransDataCount, "測定ﾃﾞｰﾀ数"},
    {MsgTransChannels, "ﾁｬﾝﾈﾙ数"},
    {MsgTransInterval, "測定間隔"},
    {MsgTransStart, "ｽﾀｰﾄ時刻"},
    {MsgTransStop, "ｽﾄｯﾌﾟ時刻"},
    {MsgTransMemo, "ﾒﾓ%d"},
    {MsgCsvFilter, "CSVﾌｧｲﾙ(*.CSV)|*.CSV"},

    // --- CSV files and the collection report (4800-4849) ---
    {MsgCsvPreparing, "テキスト保存準備中..."},
    {MsgCsvSaving, "テキスト保存中..."},
    {MsgCsvCreateFailed, "テキストファイルの作成に失敗しました。"},
    {MsgCsvWriteFailed, "テキストファイルの書込みに失敗しました。(Line=%d)"},
    {MsgLogOpenFailed, "ログファイルのオープンに失敗しました。"},
    {MsgLogWriteFailed, "ログファイルの書込みに失敗しました。"},
    {MsgReportCreated, "作成日付          : %s\r\n"},
    {MsgReportRlbName, "RLBファイル名称   : %s\r\n"},
    {MsgReportCsvName, "CSVファイル名称   : %s\r\n"},
    {MsgReportRlbKept, "RLBファイル保存   : する\r\n"},
    {MsgReportRlbDeleted, "RLBファイル保存   : しない\r\n"},
    {MsgReportCsvQ5, "CSVファイルタイプ : Ｑ５シリーズ形式\r\n"},
    {MsgReportCsvCorvex, "CSVファイルタイプ : Corvex形式\r\n"},
    {MsgReportRingNew, "回収リング        : NEWリング\r\n"},
    {MsgReportRingOld, "回収リング        : OLD-%dリング\r\n"},
    {MsgReportSerial, "シリアル番号      : %s\r\n"},
    {MsgReportModel, "モデルコード      : %.4d\r\n"},
    {MsgReportSubModel, "サブモデルコード  : %.4d\r\n"},
    {MsgReportRomCode, "ＲＯＭコード      : %.4d\r\n"},
    {MsgReportFirmware, "ファームウェア    : %s\r\n"},
    {MsgReportStartTime, "測定開始時刻      : %s\r\n"},
    {MsgReportStopTime, "測定終了時刻      : %s\r\n"},
    {MsgReportRecords, "測定データ数      : %ld\r\n"},
    {MsgReportChannels, "測定チャンネル数  : %d\r\n"},
    {MsgReportChannelMode, "測定モード%.2d      : %s,%s,%s\r\n"},
    {MsgReportInterval, "測定インターバル  : %s\r\n"},

    // --- recorder clock (5000s) ---
    {MsgClockCaption, "ロガー時刻の設定"},
    {MsgClockSystemLabel, "システム時刻"},
    {MsgClockRecorderLabel, "レコーダ時刻"},
    {MsgClockInput, "入力"},
    {MsgChangeButton, "変更"},
    {MsgClockDateLabel, "日付(&D)："},
    {MsgClockTimeLabel, "時刻(&T)："},
    {MsgClockSetFailed, "時刻を設定する事ができませんでした。"},
    {MsgClockUnreadable, "レコーダの時刻を読み取れませんでした。"},
    // --- user memo (5100s) ---
    {MsgMemoCaption, "ユーザーメモの設定"},
    {MsgMemoValueHeader, "設定値"},
    {MsgMemoCut, "切り取り(&T)"},
    {MsgMemoCopy, "ｺﾋﾟｰ(&C)"},
    {MsgMemoPaste, "貼り付け(&P)"},
    {MsgMemoEdit, "変更(&E)"},
    {MsgMemoPasteRefused, "クリップボードのデータは貼り付けできません。"},
    {MsgMemoWriteFailed, "メモの書込みに失敗しました。"},
    {MsgMemoBadCharacter, "メモに使用できない文字が含まれています。"},
    // --- measurement mode (5400-5449) ---
    {MsgModeCaption, "測定モードの設定"},
    {MsgModeReadCaption, "測定モード読込み"},
    {MsgLineChecking, "通信確認中..."},
    {MsgModeChannelsLabel, "測定チャンネル数"},
    {MsgModeMaxChannels, "最大チャンネル数(%d)"},
    {MsgModeValueHeader, "設定値"},
    {MsgModeEditButton, "編集"},
    {MsgModeMenuCut, "切り取り(&T)"},
    {MsgModeMenuCopy, "ｺﾋﾟｰ(&C)"},
    {MsgModeMenuPaste, "貼り付け(&P)"},
    {MsgModeMenuEdit, "編集(&E)"},
    {MsgMaxChannelsReadFailed, "最大設定可能チャンネル数の読込みに失敗しました。"},
    {MsgModeListReadFailed, "設定可能な測定モードリストの読込みに失敗しました。"},
    {MsgChannelCountWriteFailed, "測定チャンネル数の書込みに失敗しました。"},
    {MsgModeWriteFailed, "測定モードの書込みに失敗しました。"},
    {MsgDefinitionsOutdated, "プログラムで使用しているDB情報が古くなっています。"},
    {MsgClipboardNotPastable, "クリップボードのデータは貼り付けできません。"},
    {MsgClipboardNoSettableMode, "クリップボードのデータは設定可能な測定モードはありません。"},
    {MsgNotAnInteger, "'%s' は有効な整数値ではありません。"},

    // --- measurement interval (5450-5499) ---
    {MsgItvlCaption, "測定間隔の設定"},
    {MsgItvlInterval, "測定間隔"},
    {MsgItvlPreTimer, "プレタイマー"},
    {MsgItvlSampling, "サンプリング間隔"},
    {MsgItvlUnused, "未使用"},
    {MsgPreTimerReadFailed, "プレタイマーの読込みに失敗しました。"},
    {MsgSamplingReadFailed, "サンプリング間隔の読込みに失敗しました。"},
    {MsgIntervalListReadFailed, "設定可能な測定間隔リストの読込みに失敗しました。"},
    {MsgPreTimerListReadFailed, "設定可能なプレタイマーリストの読込みに失敗しました。"},
    {MsgSamplingListReadFailed, "設定可能なサンプリング間隔リストの読込みに失敗しました。"},
    {MsgIntervalWriteFailed, "測定間隔の書込みに失敗しました。"},
    {MsgPreTimerWriteFailed, "プレタイマーの書込みに失敗しました。"},
    {MsgSamplingWriteFailed, "サンプリング間隔の書込みに失敗しました。"},

    // --- graph of a data file (6200-6299) ---
    {MsgGraphCaption, "グラフ表示"},
    {MsgGraphMenu, "グラフ表示(&G)..."},
    {MsgGraphHint, "RLBファイルのデータをグラフで表示します"},
    {MsgGraphReadFailed, "グラフ用データの読込みに失敗しました。"},
    {MsgGraphNoSuchChannel, "チャンネル%dはグラフに表示できません。"},
    {MsgGraphEmptyRange, "指定の期間に測定データがありません。"},
    {MsgGraphTimeAxis, "時刻"},
    {MsgGraphRecordAxis, "データ番号"},
    {MsgGraphDirectionAxis, "風向(16方位)"},
    {MsgGraphValueAxis, "値"},
    {MsgGraphBatteryLow, "バッテリLOW(%lldデータ以降)"},
    {MsgGraphOverwritten, "オーバーライト(%lldデータ)"},
    {MsgGraphReset, "全体表示(&R)"},
    {MsgGraphSave, "保存(&S)..."},
    {MsgGraphClose, "閉じる"},
    {MsgGraphSaveFailed, "グラフの保存に失敗しました。"},
    {MsgGraphButton, "グラフ(&G)..."},
    {MsgGraphChannels, "チャンネル"},
    {MsgGraphAfterCollection, "回収したデータをグラフで表示しますか？"},

    // --- file conversion (7650-7671) ---
    {MsgConvLogOpenFailed, "ログファイルのオープンに失敗しました。"},
    {MsgConvLogWriteFailed, "ログファイルの書込みに失敗しました。"},
    {MsgConvThreadFailed, "データ回収用スレッドが作成できませんでした。"},
    {MsgConvCaption, "ファイル変換"},
    {MsgRlbFilter, "RLBﾌｧｲﾙ(*.RLB)|*.RLB|すべてのﾌｧｲﾙ(*.*)|*.*"},
};

constexpr bool IsStrictlyAscending() {
  for (size_t i = 1; i < std::size(kMessages); ++i)
    if (kMessages[i - 1].id >= kMessages[i].id) return false;
  return true;
}
static_assert(IsStrictlyAscending(), "message numbers must be unique and in ascending order");

}  // namespace

std::string LoadMessage(int id) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                             [](const MessageEntry& e, int key) { return e.id < key; });
  if (it == std::end(kMessages) || it->id != id) return {};
  return it->text;
}

std::string FormatMessage(int id, ...) {
  const std::string format = LoadMessage(id);
  va_list args;
  va_start(args, id);
  std::string out = FormatTextV(format.c_str(), args);
  va_end(args);
  return out;
}

std::string FormatTextV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    out.assign(buf.data(), static_cast<size_t>(n));
  }
  return out;
}

}  // namespace tessaro
