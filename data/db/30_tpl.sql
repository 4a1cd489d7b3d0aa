-- Descriptions of the recorder's tuple numbers (coefficient codes). One code
-- may occur in several areas (ROM, EEP, BATT, FILE groups); the text fits all.
INSERT INTO TPL (CODE, DESCRIPTION) VALUES
  (0, 'ヘッダー'),
  (100, 'モデルコード'),
  (101, 'サブモデルコード'),
  (102, 'ROMバージョンコード'),
  (106, 'アトリビュート・サイズ'),
  (107, 'データエリアサイズ'),
  (108, '最大リング数'),
  (109, '最大設定可能チャンネル数'),
  (120, '機能ワード'),
  (202, '測定チャンネル数'),
  (210, 'シリアル番号'),
  (211, '製造日付'),
  (234, 'サンプリング間隔'),
  (280, 'プレタイマー'),
  (800, '測定開始時刻'),
  (801, '測定終了時刻'),
  (802, '測定データ数'),
  (805, 'バッテリLOW検出時刻'),
  (806, '測定データバイト数'),
  (880, 'スタートポインタ'),
  (881, 'ストップポインタ');

-- Per-channel series, older numbering (20 channels) and newer (32 channels).
WITH RECURSIVE ch(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM ch WHERE n < 19)
INSERT INTO TPL (CODE, DESCRIPTION)
  SELECT 240 + n, printf('測定モード CH%02d', n + 1) FROM ch
  UNION ALL SELECT 260 + n, printf('測定インターバル CH%02d', n + 1) FROM ch
  UNION ALL SELECT 820 + n, printf('小数点位置 CH%02d', n + 1) FROM ch
  UNION ALL SELECT 840 + n, printf('データタイプ CH%02d', n + 1) FROM ch
  UNION ALL SELECT 860 + n, printf('データバイト数 CH%02d', n + 1) FROM ch;

WITH RECURSIVE ch(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM ch WHERE n < 31)
INSERT INTO TPL (CODE, DESCRIPTION)
  SELECT 2000 + n, printf('測定モード CH%02d', n + 1) FROM ch
  UNION ALL SELECT 2100 + n, printf('小数点位置 CH%02d', n + 1) FROM ch
  UNION ALL SELECT 2200 + n, printf('データタイプ CH%02d', n + 1) FROM ch
  UNION ALL SELECT 2300 + n, printf('データバイト数 CH%02d', n + 1) FROM ch
  UNION ALL SELECT 3000 + n, printf('測定インターバル CH%02d', n + 1) FROM ch;

-- User memos 1 to 8.
WITH RECURSIVE k(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM k WHERE n < 7)
INSERT INTO TPL (CODE, DESCRIPTION) SELECT 620 + n, printf('メモ%d', n + 1) FROM k;

-- FILE pointers of rings 0 (NEW) to 159 (OLD-159).
WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM r WHERE n < 159)
INSERT INTO TPL (CODE, DESCRIPTION)
  SELECT 640 + n, CASE WHEN n = 0 THEN 'FILEポインタ NEW' ELSE printf('FILEポインタ OLD-%02d', n) END
  FROM r;
