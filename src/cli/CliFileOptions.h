#pragma once
// Options that several commands take alike.

#include <functional>
#include <string>

#include "core/collect/CsvWriter.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace tessaro {

// --form q5|corvex: the CSV form, handed to set.
CLI::Option* AddFormOption(CLI::App& command, std::function<void(CsvType)> set);

// --csv PATH: the CSV file to write; an empty name is a usage error.
CLI::Option* AddCsvOption(CLI::App& command, std::string& path);

}  // namespace tessaro
