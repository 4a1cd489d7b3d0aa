-- The recorder definition tables. The program reads the text columns by
-- their position (1, 2, ...), never by name; CODE is the key.
CREATE TABLE ITVL (CODE INTEGER PRIMARY KEY, JA TEXT, EN TEXT);
CREATE TABLE MODE (CODE INTEGER PRIMARY KEY, A TEXT, B TEXT, C TEXT, LABEL TEXT);
CREATE TABLE TPL (CODE INTEGER PRIMARY KEY, DESCRIPTION TEXT);
