#include "core/support/DefinitionDb.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>

#include "core/support/AppPaths.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// Leading and trailing blanks and control characters go; multi-byte UTF-8
// sequences never contain bytes below 0x80, so they are left alone.
std::string Trim(const char* text) {
  if (!text) return {};
  std::string s(text);
  auto junk = [](unsigned char c) { return c <= 0x20 || c == 0x7F; };
  size_t begin = 0;
  while (begin < s.size() && junk(s[begin])) ++begin;
  size_t end = s.size();
  while (end > begin && junk(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

DefinitionDb::Language LanguageOf(const char* locale) {
  const std::string value = locale ? locale : "";
  if (value.empty() || value == "C" || value == "POSIX" || value.rfind("C.", 0) == 0)
    return DefinitionDb::Language::English;
  const std::string primary = value.substr(0, value.find_first_of("_.@"));
  if (primary == "ja") return DefinitionDb::Language::Japanese;
  if (primary == "en") return DefinitionDb::Language::English;
  return DefinitionDb::Language::Other;
}

}  // namespace

DefinitionDb::DefinitionDb() : language_(UserLanguage()) {}

DefinitionDb::~DefinitionDb() { Close(); }

std::string DefinitionDb::DefaultPath() { return DefinitionsPath(ExecutableFolder()); }

DefinitionDb::Language DefinitionDb::UserLanguage() {
  // The first of these that is set and not empty decides, as for messages.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LanguageOf(value);
  }
  return Language::English;
}

bool DefinitionDb::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (db_) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  for (const char* table : {"ITVL", "MODE", "TPL"}) {
    Statement probe(db, std::string("SELECT * FROM ") + table + " LIMIT 0");
    if (!probe.get()) {
      sqlite3_close(db);
      return false;
    }
  }
  db_ = db;
  return true;
}

void DefinitionDb::Close() {
  std::lock_guard lock(mutex_);
  sqlite3_close(db_);
  db_ = nullptr;
}

bool DefinitionDb::IsOpen() const {
  std::lock_guard lock(mutex_);
  return db_ != nullptr;
}

void DefinitionDb::SetLanguage(Language language) {
  std::lock_guard lock(mutex_);
  language_ = language;
}

DefinitionDb::Language DefinitionDb::GetLanguage() const {
  std::lock_guard lock(mutex_);
  return language_;
}

std::vector<std::string> DefinitionDb::Lookup(const char* table, int code,
                                              const std::vector<int>& positions) const {
  std::vector<std::string> texts(positions.size());
  if (!db_) return texts;
  Statement select(db_, std::string("SELECT * FROM ") + table + " WHERE CODE = ?1");
  if (!select.get() || sqlite3_bind_int(select.get(), 1, code) != SQLITE_OK) return texts;
  if (sqlite3_step(select.get()) != SQLITE_ROW) return texts;
  const int columns = sqlite3_column_count(select.get());
  for (size_t i = 0; i < positions.size(); ++i) {
    if (positions[i] < columns) {
      texts[i] =
          Trim(reinterpret_cast<const char*>(sqlite3_column_text(select.get(), positions[i])));
    }
  }
  return texts;
}

std::string DefinitionDb::FindIntervalName(int code) const {
  std::lock_guard lock(mutex_);
  int position;
  switch (language_) {
    case Language::Japanese:
      position = 1;
      break;
    case Language::English:
      position = 2;
      break;
    default:
      return {};
  }
  return Lookup("ITVL", code, {position})[0];
}

ModeTexts DefinitionDb::FindModeTexts(int code) const {
  std::lock_guard lock(mutex_);
  auto texts = Lookup("MODE", code, {1, 2, 3, 4});
  return {std::move(texts[0]), std::move(texts[1]), std::move(texts[2]), std::move(texts[3])};
}

std::string DefinitionDb::FindTupleText(int code) const {
  std::lock_guard lock(mutex_);
  return Lookup("TPL", code, {1})[0];
}

std::string DefinitionDb::IntervalText(int code) const {
  if (code < 1000) return FindIntervalName(code);
  if (code < 1100) return FormatMessage(MsgIntervalSeconds, code - 1000);
  if (code < 1200) return FormatMessage(MsgIntervalMinutes, code - 1100);
  if (code < 1300) return FormatMessage(MsgIntervalHours, code - 1200);
  return {};
}

std::string TupleTypeName(int type) {
  switch (type) {
    case 0:
      return LoadMessage(MsgTypeChar);
    case 1:
    case 11:
      return LoadMessage(MsgTypeInteger);
    case 10:
      return LoadMessage(MsgTypeUnsigned);
    case 2:
      return LoadMessage(MsgTypeLong);
    case 3:
      return LoadMessage(MsgTypeReal);
    case 4:
      return LoadMessage(MsgTypeDouble);
    case 5:
      return LoadMessage(MsgTypeMemo);
    case 7:
      return LoadMessage(MsgTypeMemo16);
    case 6:
      return LoadMessage(MsgTypeDateTime);
    case 20:
      return LoadMessage(MsgTypeBit8);
    case 21:
      return LoadMessage(MsgTypeBit16);
    case 22:
      return LoadMessage(MsgTypeBit32);
    default:
      return {};
  }
}

int DisplayWidth(const std::string& utf8) {
  int width = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    length = std::min(length, utf8.size() - i);
    uint32_t cp = lead;
    if (length == 3) {
      cp = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
    }
    // Half-width katakana take one column, as they take one byte in the
    // recorder's code page.
    const bool narrow = lead < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F);
    width += narrow ? 1 : 2;
    i += length;
  }
  return width;
}

ModeTextWidths MeasureModeTexts(const std::vector<ModeTexts>& modes) {
  ModeTextWidths widths;
  for (const auto& m : modes) {
    widths.a = std::max(widths.a, DisplayWidth(m.a));
    widths.b = std::max(widths.b, DisplayWidth(m.b));
    widths.c = std::max(widths.c, DisplayWidth(m.c));
  }
  return widths;
}

std::string ModeListText(const ModeTexts& texts, const ModeTextWidths& widths) {
  std::string line;
  auto field = [&line](const std::string& text, int width) {
    line += '[';
    line += text;
    line.append(static_cast<size_t>(std::max(0, width - DisplayWidth(text))), ' ');
    line += ']';
  };
  field(texts.a, widths.a);
  field(texts.b, widths.b);
  field(texts.c, widths.c);
  return line;
}

}  // namespace tessaro
