#pragma once
// The recorder definition database DB/Master.mdb (an SQLite file beside the
// program): names of interval codes, texts of measurement modes and
// descriptions of tuple codes. Read only. Lookups never throw: an unknown
// code or a database failure gives empty texts. Lookups are serialised by a
// mutex, so worker threads and the user-interface thread may share one
// instance.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;

namespace tessaro {

struct ModeTexts {
  std::string a;
  std::string b;
  std::string c;
  std::string label;  // short label, the CSV column heading
};

class DefinitionDb {
 public:
  enum class Language { Japanese, English, Other };

  DefinitionDb();
  ~DefinitionDb();
  DefinitionDb(const DefinitionDb&) = delete;
  DefinitionDb& operator=(const DefinitionDb&) = delete;

  // DB/Master.mdb beside the executable or in its installed share folder.
  static std::string DefaultPath();
  // The primary language of the user's messages locale (LC_ALL, LC_MESSAGES,
  // LANG): "ja" Japanese; "en", "C", "POSIX" or unset English; else Other.
  static Language UserLanguage();

  // Opens the file read only and checks that the three tables are there.
  bool Open(const std::string& path);
  bool OpenDefault() { return Open(DefaultPath()); }
  void Close();
  bool IsOpen() const;

  // The language FindIntervalName reads by; UserLanguage() at construction.
  void SetLanguage(Language language);
  Language GetLanguage() const;

  std::string FindIntervalName(int code) const;
  ModeTexts FindModeTexts(int code) const;
  std::string FindTupleText(int code) const;
  // Display text of an interval code: a named code below 1000, "%d 秒",
  // "%d 分", "%d 時間" for 1000..1299, empty from 1300.
  std::string IntervalText(int code) const;

 private:
  std::vector<std::string> Lookup(const char* table, int code,
                                  const std::vector<int>& positions) const;

  mutable std::mutex mutex_;
  sqlite3* db_ = nullptr;
  Language language_;
};

// Name of a coefficient value type code ("文字型" ...), empty for none.
std::string TupleTypeName(int type);

// Column widths for ModeListText: the largest display widths of texts A, B
// and C over the modes of one list.
struct ModeTextWidths {
  int a = 0;
  int b = 0;
  int c = 0;
};
ModeTextWidths MeasureModeTexts(const std::vector<ModeTexts>& modes);
// "[A   ][B  ][C ]", each text left-aligned and padded with blanks to its width.
std::string ModeListText(const ModeTexts& texts, const ModeTextWidths& widths);
// Columns a text takes in a fixed-pitch font: 1 for ASCII and half-width
// katakana, 2 for other characters.
int DisplayWidth(const std::string& utf8);

}  // namespace tessaro
