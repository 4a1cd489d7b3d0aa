#pragma once
// One of the recorder's tuple areas as the single-line commands name it:
// ROM, EEP, BATT, or the FILE group of one ring.
//
//   Area::Rom.ReadCommand(108)            // "romr108"
//   Area::Eep.WriteCommand(202, "3")      // "eepw202,3"
//   Area::File(2).ReadCommand(806)        // "filer2,806": ring OLD-01

#include <string>
#include <string_view>

namespace tessaro {

class Area {
 public:
  enum class Kind { Rom, Eep, Batt, File };

  static const Area Rom;
  static const Area Eep;
  static const Area Batt;
  // The FILE group of ring number `group`: the ring index + 1 (1 is NEW).
  static constexpr Area File(int group) { return Area(Kind::File, group); }

  constexpr Kind kind() const { return kind_; }
  constexpr int group() const { return group_; }
  constexpr bool Writable() const { return kind_ != Kind::Rom; }

  // "romr%d", "eepr%d", "battr%d" or "filer%d,%d".
  std::string ReadCommand(int number) const;
  // "eepw%d,%s", "battw%d,%s" or "filew%d,%d,%s"; the ROM has none
  // (throws std::logic_error).
  std::string WriteCommand(int number, std::string_view value) const;

 private:
  constexpr Area(Kind kind, int group) : kind_(kind), group_(group) {}

  Kind kind_;
  int group_;
};

inline constexpr Area Area::Rom{Area::Kind::Rom, 0};
inline constexpr Area Area::Eep{Area::Kind::Eep, 0};
inline constexpr Area Area::Batt{Area::Kind::Batt, 0};

}  // namespace tessaro
