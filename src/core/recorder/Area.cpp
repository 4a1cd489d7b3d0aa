#include "core/recorder/Area.h"

#include <stdexcept>

namespace tessaro {
namespace {

const char* Name(Area::Kind kind) {
  switch (kind) {
    case Area::Kind::Rom:
      return "rom";
    case Area::Kind::Eep:
      return "eep";
    case Area::Kind::Batt:
      return "batt";
    default:
      return "file";
  }
}

}  // namespace

std::string Area::ReadCommand(int number) const {
  std::string command = std::string(Name(kind_)) + "r";
  if (kind_ == Kind::File) command += std::to_string(group_) + ",";
  return command + std::to_string(number);
}

std::string Area::WriteCommand(int number, std::string_view value) const {
  if (!Writable()) throw std::logic_error("ROM tuples cannot be written");
  std::string command = std::string(Name(kind_)) + "w";
  if (kind_ == Kind::File) command += std::to_string(group_) + ",";
  command += std::to_string(number) + ",";
  command += value;
  return command;
}

}  // namespace tessaro
