#pragma once
// The program's user-visible texts, by number (UTF-8). Texts are looked up
// when shown; code refers to them through the named numbers below.

#include <cstdarg>
#include <string>

namespace tessaro {

// Numbers are grouped by feature in blocks; see MessageTable.cpp.
enum MessageId : int {
  // 1000s: program constants
  MsgVersion = 1000,
  MsgNotice = 1001,
  MsgHelpFile = 1002,  // relative to the program folder
  MsgEdition = 1007,
  MsgProgramName = 1010,
  MsgMutexName = 1020,
  MsgShortName = 1031,
  // value type names of the coefficient tuples, see TupleTypeName
  MsgTypeChar = 1040,
  MsgTypeInteger = 1041,
  MsgTypeUnsigned = 1042,
  MsgTypeLong = 1043,
  MsgTypeReal = 1044,
  MsgTypeDouble = 1045,
  MsgTypeMemo = 1046,
  MsgTypeMemo16 = 1047,
  MsgTypeDateTime = 1048,
  MsgTypeBit8 = 1049,
  MsgTypeBit16 = 1050,
  MsgTypeBit32 = 1051,
  MsgSlavePanel = 1070,  // "スレーブ[%d]"

  // 1100-1249: main window, progress, version and slave dialogs
  MsgBtnLink = 1100,
  MsgBtnPath = 1101,
  MsgBtnTrans = 1102,
  MsgBtnInput = 1103,
  MsgBtnClock = 1104,
  MsgBtnMemo = 1105,
  MsgBtnMode = 1106,
  MsgBtnItvl = 1107,
  MsgBtnCoef = 1108,
  MsgBtnTerm = 1109,
  MsgBtnMot = 1110,
  MsgBtnExit = 1111,
  MsgBtnConvert = 1112,
  MsgHintLink = 1120,
  MsgHintPath = 1121,
  MsgHintTrans = 1122,
  MsgHintInput = 1123,
  MsgHintClock = 1124,
  MsgHintMemo = 1125,
  MsgHintMode = 1126,
  MsgHintItvl = 1127,
  MsgHintCoef = 1128,
  MsgHintTerm = 1129,
  MsgHintMot = 1130,
  MsgHintExit = 1131,
  MsgHintConvert = 1132,
  MsgHintSlave = 1133,
  MsgHintAbout = 1134,
  MsgMenuFunctions = 1140,
  MsgMenuLink = 1141,
  MsgMenuPath = 1142,
  MsgMenuTrans = 1143,
  MsgMenuInput = 1144,
  MsgMenuClock = 1145,
  MsgMenuMemo = 1146,
  MsgMenuMode = 1147,
  MsgMenuItvl = 1148,
  MsgMenuCoef = 1149,
  MsgMenuTerm = 1150,
  MsgMenuMot = 1151,
  MsgMenuConvert = 1152,
  MsgMenuExit = 1153,
  MsgMenuMultiLink = 1154,
  MsgMenuSlave = 1155,
  MsgMenuHelp = 1156,
  MsgMenuHelpContents = 1157,
  MsgMenuKeyHelp = 1158,
  MsgMenuInet = 1159,
  MsgMenuAbout = 1160,
  MsgPanelHighSpeed = 1170,
  MsgPanelExtended = 1171,
  MsgLampDtr = 1173,
  MsgLampDsr = 1174,
  MsgLampRts = 1175,
  MsgLampCts = 1176,
  MsgMotCaption = 1180,
  MsgMotTransferring = 1181,
  MsgMotDone = 1182,
  MsgMotFailed = 1183,
  MsgMotFilter = 1184,
  MsgPathTitle = 1190,
  MsgDefinitionDbMissing = 1191,
  MsgGaugeMessageGroup = 1200,
  MsgGaugeProgressGroup = 1201,
  MsgGaugeCancel = 1202,
  MsgAboutCaption = 1210,
  MsgOkButton = 1211,
  MsgCancelButton = 1212,
  MsgSlaveCaption = 1220,
  MsgSlaveGroup = 1221,
  MsgSlaveOff = 1222,
  MsgSlaveOn = 1223,
  MsgSlaveIdLabel = 1224,

  // 2000s: messages shared by several features
  MsgOutOfMemory = 2002,
  MsgFormInitFailed = 2003,
  MsgWindowPosAccess = 2004,
  MsgLineCheckFailed = 2007,
  MsgNoEchoBack = 2008,
  MsgOldComctl = 2011,
  MsgPortInUseRetry = 2012,
  MsgPortUnusable = 2013,
  MsgCollectionSettingsAccess = 2014,
  MsgCancelPressed = 2050,

  // 3000s: communication line
  MsgCommOpenError = 3001,  // "通信ポートオープンエラー ErrorCode = %d"

  // 3010-3049: communication settings dialog
  MsgComEnvCaption = 3010,
  MsgComEnvPort = 3011,
  MsgComEnvBaud = 3012,
  MsgComEnvData = 3013,
  MsgComEnvStop = 3014,
  MsgComEnvParity = 3015,
  MsgComEnvIpAddr = 3016,
  MsgComEnvIpPort = 3017,
  MsgComEnvOver = 3018,
  MsgComEnvSave = 3019,
  MsgParityNone = 3020,
  MsgParityOdd = 3021,
  MsgParityEven = 3022,
  MsgBadServerPort = 3030,
  MsgComSettingsAccess = 3031,

  // 3500-3549: data file analysis and definition texts
  MsgWorkFileCreate = 3500,
  MsgWorkFileCopy = 3501,
  MsgWorkFileOpen = 3502,
  MsgRlbHeaderError = 3503,
  MsgRlbTupleError = 3504,
  MsgModeNotInDb = 3505,      // mode code %d
  MsgOverwrittenData = 3506,  // first overwritten record %d
  MsgBatteryLowData = 3507,   // first record after battery LOW %d
  MsgIntervalSeconds = 3510,  // "%d 秒"
  MsgIntervalMinutes = 3511,  // "%d 分"
  MsgIntervalHours = 3512,    // "%d 時間"

  // 3600-3659: ring collection thread
  MsgCollectGathering = 3600,
  MsgRlbCreateFailed = 3601,
  MsgRingCountReadFailed = 3602,
  MsgAttributeSizeReadFailed = 3603,
  MsgAttributeSizeInvalid = 3604,
  MsgRlbHeaderWriteFailed = 3605,
  MsgFileTypeWriteFailed = 3606,
  MsgVersionReadFailed = 3607,
  MsgVersionWriteFailed = 3608,
  MsgModelReadFailed = 3609,
  MsgModelWriteFailed = 3610,
  MsgSubModelReadFailed = 3611,
  MsgSubModelWriteFailed = 3612,
  MsgRomVersionReadFailed = 3613,
  MsgRomVersionWriteFailed = 3614,
  MsgFileMemoWriteFailed = 3615,
  MsgCollectionTimeWriteFailed = 3616,
  MsgRomAreaReading = 3620,
  MsgRomAreaFailed = 3621,
  MsgEepAreaReading = 3622,
  MsgEepAreaFailed = 3623,
  MsgBattAreaReading = 3624,
  MsgBattAreaFailed = 3625,
  MsgFilePointerReadFailed = 3630,
  MsgFilePointerWriteFailed = 3631,
  MsgByteCountReadFailed = 3632,
  MsgNewRingReading = 3633,
  MsgOldRingReading = 3634,
  MsgDataTransferFailed = 3635,
  MsgStartPointerWriteFailed = 3636,
  MsgStopPointerWriteFailed = 3637,
  MsgIntervalReadFailed = 3638,
  MsgStartTimeReadFailed = 3639,
  MsgStartTimeWriteFailed = 3640,
  MsgDataCountReadFailed = 3641,
  MsgDataCountWriteFailed = 3642,
  MsgByteCountWriteFailed = 3643,
  MsgRlbManagementWriting = 3650,
  MsgBattAccessFailed = 3651,
  MsgCollectCaption = 3652,

  // 4600-4649: collection dialog: management information and checks
  MsgTransCaption = 4600,
  MsgManagementCaption = 4601,
  MsgManagementReading = 4602,
  MsgMaxRingCountReadFailed = 4603,
  MsgSerialReadFailed = 4604,
  MsgDataAreaSizeReadFailed = 4605,
  MsgChannelCountReadFailed = 4606,
  MsgModeReadFailed = 4607,
  MsgSizeReadFailed = 4608,
  MsgStopTimeReadFailed = 4609,
  MsgQ5NoPulseTime = 4610,
  MsgQ5NoMode600 = 4611,
  MsgQ5NoMode601 = 4612,
  MsgQ5NoMode602 = 4613,
  MsgQ5NoMode603 = 4614,
  MsgQ5NoMode604 = 4615,
  MsgQ5NoMode605 = 4616,
  MsgQ5NoMode606 = 4617,
  MsgQ5NoMode607 = 4618,
  MsgFileNamesFailed = 4620,
  MsgNoRingSelected = 4621,
  MsgAllOverwritten = 4622,
  MsgAskDropOverwritten = 4623,
  MsgCollectionAbandoned = 4624,
  MsgCsvNamesRlb = 4625,
  MsgAskReplaceRlb = 4626,  // file name %s

  // 4630-4649: collection and conversion dialog forms
  MsgTransRecorder = 4630,
  MsgTransRlbSave = 4631,
  MsgCsvTypeGroup = 4632,
  MsgCsvTypeQ5 = 4633,
  MsgCsvTypeCorvex = 4634,
  MsgTransVersion = 4635,
  MsgTransSerial = 4636,
  MsgTransRing = 4637,
  MsgTransDataCount = 4638,
  MsgTransChannels = 4639,
  MsgTransInterval = 4640,
  MsgTransStart = 4641,
  MsgTransStop = 4642,
  MsgTransMemo = 4643,  // memo number %d
  MsgCsvFilter = 4644,

  // 4800-4849: CSV files and the collection report
  MsgCsvPreparing = 4800,
  MsgCsvSaving = 4801,
  MsgCsvCreateFailed = 4802,
  MsgCsvWriteFailed = 4803,  // record index %d
  MsgLogOpenFailed = 4810,
  MsgLogWriteFailed = 4811,
  MsgReportCreated = 4820,  // report lines, CR LF included
  MsgReportRlbName = 4821,
  MsgReportCsvName = 4822,
  MsgReportRlbKept = 4823,
  MsgReportRlbDeleted = 4824,
  MsgReportCsvQ5 = 4825,
  MsgReportCsvCorvex = 4826,
  MsgReportRingNew = 4827,
  MsgReportRingOld = 4828,
  MsgReportSerial = 4829,
  MsgReportModel = 4830,
  MsgReportSubModel = 4831,
  MsgReportRomCode = 4832,
  MsgReportFirmware = 4833,
  MsgReportStartTime = 4834,
  MsgReportStopTime = 4835,
  MsgReportRecords = 4836,
  MsgReportChannels = 4837,
  MsgReportChannelMode = 4838,
  MsgReportInterval = 4839,

  // 5000-5099: recorder clock
  MsgClockCaption = 5000,
  MsgClockSystemLabel = 5001,
  MsgClockRecorderLabel = 5002,
  MsgClockInput = 5003,
  MsgChangeButton = 5004,  // also the memo dialog's
  MsgClockDateLabel = 5005,
  MsgClockTimeLabel = 5006,
  MsgClockSetFailed = 5010,
  MsgClockUnreadable = 5011,

  // 5100-5199: user memo
  MsgMemoCaption = 5100,
  MsgMemoValueHeader = 5101,
  MsgMemoCut = 5102,
  MsgMemoCopy = 5103,
  MsgMemoPaste = 5104,
  MsgMemoEdit = 5105,
  MsgMemoPasteRefused = 5110,
  MsgMemoWriteFailed = 5111,
  MsgMemoBadCharacter = 5112,

  // 5400-5449: measurement mode dialog
  MsgModeCaption = 5400,
  MsgModeReadCaption = 5401,
  MsgLineChecking = 5402,
  MsgModeChannelsLabel = 5403,
  MsgModeMaxChannels = 5404,  // maximum %d
  MsgModeValueHeader = 5405,
  MsgModeEditButton = 5406,
  MsgModeMenuCut = 5407,
  MsgModeMenuCopy = 5408,
  MsgModeMenuPaste = 5409,
  MsgModeMenuEdit = 5410,
  MsgMaxChannelsReadFailed = 5420,
  MsgModeListReadFailed = 5421,
  MsgChannelCountWriteFailed = 5422,
  MsgModeWriteFailed = 5423,
  MsgDefinitionsOutdated = 5424,
  MsgClipboardNotPastable = 5425,
  MsgClipboardNoSettableMode = 5426,
  MsgNotAnInteger = 5427,  // the text %s

  // 5450-5499: measurement interval dialog
  MsgItvlCaption = 5450,
  MsgItvlInterval = 5451,
  MsgItvlPreTimer = 5452,
  MsgItvlSampling = 5453,
  MsgItvlUnused = 5454,
  MsgPreTimerReadFailed = 5460,
  MsgSamplingReadFailed = 5461,
  MsgIntervalListReadFailed = 5462,
  MsgPreTimerListReadFailed = 5463,
  MsgSamplingListReadFailed = 5464,
  MsgIntervalWriteFailed = 5465,
  MsgPreTimerWriteFailed = 5466,
  MsgSamplingWriteFailed = 5467,

  // 5600-5699: control coefficients: reading, view, editor
  MsgCoefCaption = 5600,
  MsgCoefReadCaption = 5601,
  MsgCoefManagementReading = 5602,
  MsgCoefTuplesReading = 5603,
  MsgCoefTableBuilding = 5604,  // tab name %s
  MsgCoefHeaderCode = 5605,
  MsgCoefHeaderType = 5606,
  MsgCoefHeaderValue = 5607,
  MsgCoefHeaderDescription = 5608,
  MsgCoefEditButton = 5609,
  MsgCoefPrintButton = 5610,
  MsgCoefMenuEdit = 5611,
  MsgCoefMenuCut = 5612,
  MsgCoefMenuCopy = 5613,
  MsgCoefMenuPaste = 5614,
  MsgCoefEditCaption = 5615,
  MsgCoefAllBits = 5616,
  MsgCoefEditTitle = 5617,  // code %s, type name %s
  MsgFileAreaFailed = 5620,
  MsgFilePointerInvalid = 5621,
  MsgTupleDataInvalid = 5622,
  MsgRomNotWritable = 5623,
  MsgCoefWriteFailed = 5624,
  MsgCoefCopyFailed = 5625,
  MsgCoefEntryInvalid = 5626,

  // 5700-5799: print settings and coefficient printing
  MsgPrintCaption = 5700,
  MsgPrintPreparing = 5701,
  MsgPrintingTable = 5702,  // table title %s
  MsgPrintJobTitle = 5703,
  MsgPrintDate = 5704,    // year mod 100, month, day
  MsgPrintSerial = 5705,  // serial number %s
  MsgPrintPage = 5706,    // page number %d
  MsgPrintTitleRom = 5707,
  MsgPrintTitleEep = 5708,
  MsgPrintTitleBatt = 5709,
  MsgPrintTitleFile = 5710,  // FILE number %d
  MsgPrintDlgCaption = 5720,
  MsgPrintDlgPrinter = 5721,
  MsgPrintDlgPaper = 5722,
  MsgPrintDlgShade = 5723,
  MsgPrintDlgLayout = 5724,
  MsgPrintLayoutAll = 5725,
  MsgPrintLayoutMost = 5726,
  MsgPrintLayoutFont = 5727,
  MsgPrintLayoutCount = 5728,
  MsgPrintDlgSetup = 5729,
  MsgPrinterSetupFailed = 5740,
  MsgPrinterSettingsSaveFailed = 5741,
  MsgPrinterStartFailed = 5750,  // printer name %s
  MsgPrintPaperTooSmall = 5751,
  MsgPrintPdfFailed = 5752,  // reason %s

  // 5800-5899: terminal and monitor
  MsgTermCaption = 5800,
  MsgTermCommandLabel = 5801,
  MsgTermSend = 5802,
  MsgTermLogButton = 5803,
  MsgTermPaste = 5804,
  MsgTermLogFilter = 5805,
  MsgTermLogCaption = 5806,  // "ターミナル ( %s ) " with the log file's name
  MsgHistoryAccess = 5810,
  MsgPasteNotText = 5811,
  MsgPasteTooLong = 5812,
  MsgPasteExchangeFailed = 5813,
  MsgTermLogOpenFailed = 5814,
  MsgTermLogWriteFailed = 5816,
  MsgTermSendFailed = 5817,
  MsgInputCaption = 5820,  // "モニター コマンド[%s]" with the command

  // 5900-5999: firmware write and the firmware file check
  MsgMotOpenFailed = 5900,
  MsgEepromRecheck = 5901,
  MsgEepromAbandoned = 5902,
  MsgNoWritePermission = 5903,
  MsgCommunicationError = 5904,
  MsgNoWriteConfirmation = 5905,
  MsgMotReadFailed = 5910,
  MsgMotTooLarge = 5911,
  MsgMotEmpty = 5912,
  MsgMotNotRecord = 5913,    // line %d
  MsgMotBadCount = 5914,     // line %d
  MsgMotBadChecksum = 5915,  // line %d
  MsgMotRecordCount = 5916,  // line %d, stated %u, data records %u
  MsgMotAfterEnd = 5917,     // line %d
  MsgMotNoData = 5918,
  MsgMotNoEnd = 5919,

  // 6000-6099: serial port diagnoses and the serial device list
  MsgPortMissing = 6000,
  MsgPortExistingHeader = 6001,
  MsgPortNoneFound = 6002,
  MsgPortDenied = 6003,
  MsgPortNotInGroup = 6004,
  MsgPortAddToGroup = 6005,
  MsgPortGroupPending = 6006,
  MsgPortInGroup = 6007,
  MsgPortGroupNoAccess = 6008,
  MsgPortBusy = 6009,
  MsgPortHolder = 6010,
  MsgPortHolderTessaro = 6011,
  MsgPortLockHolder = 6012,
  MsgPortHolderUnknown = 6013,
  MsgPortOtherError = 6014,
  MsgPortUnknownCause = 6015,
  MsgPortSerialNumber = 6016,
  MsgComEnvDevice = 6020,

  // 6100-6199: unattended collection and the line lock
  MsgLineBusyHolder = 6100,         // line %s, holder %s
  MsgAppendNotOurCsv = 6110,        // file %s
  MsgAppendTruncated = 6111,        // file %s
  MsgAppendHeadingMismatch = 6112,  // file %s
  MsgAppendClockBackwards = 6113,   // ring's last time %s, file %s, its last time %s
  MsgAppendTimesUnreadable = 6114,
  MsgAppendWriteFailed = 6115,  // file %s

  // 6200-6299: graph of a data file
  MsgGraphCaption = 6200,
  MsgGraphMenu = 6201,
  MsgGraphHint = 6202,
  MsgGraphReadFailed = 6203,
  MsgGraphNoSuchChannel = 6204,
  MsgGraphEmptyRange = 6205,
  MsgGraphTimeAxis = 6206,
  MsgGraphRecordAxis = 6207,
  MsgGraphDirectionAxis = 6208,
  MsgGraphValueAxis = 6209,
  MsgGraphBatteryLow = 6210,
  MsgGraphOverwritten = 6211,
  MsgGraphReset = 6212,
  MsgGraphSave = 6213,
  MsgGraphClose = 6214,
  MsgGraphSaveFailed = 6215,
  MsgGraphButton = 6217,
  MsgGraphChannels = 6218,
  MsgGraphAfterCollection = 6219,

  // 7650-7671: file conversion and its report
  MsgConvLogOpenFailed = 7650,
  MsgConvLogWriteFailed = 7651,
  MsgConvThreadFailed = 7652,
  MsgConvCaption = 7653,
  MsgRlbFilter = 7654,
};

// The text of a message number; empty when the number has none.
std::string LoadMessage(int id);

// LoadMessage followed by printf-style formatting of its fields.
std::string FormatMessage(int id, ...);

// printf-style formatting of a text that is not used as it stands in the
// table (for example one converted to CP932 first).
std::string FormatTextV(const char* format, va_list args);

}  // namespace tessaro
