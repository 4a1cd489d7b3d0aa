#include "cli/CliFileOptions.h"

#include <CLI/CLI.hpp>

namespace tessaro {

CLI::Option* AddFormOption(CLI::App& command, std::function<void(CsvType)> set) {
  return command
      .add_option_function<std::string>(
          "--form",
          [set](const std::string& form) { set(form == "q5" ? CsvType::Q5 : CsvType::Corvex); },
          "the CSV form")
      ->type_name("q5|corvex")
      ->check(CLI::IsMember({"q5", "corvex"}).description(""));
}

CLI::Option* AddCsvOption(CLI::App& command, std::string& path) {
  return command.add_option("--csv", path, "the CSV file to write")
      ->type_name("PATH")
      ->check(CLI::Validator(
          [](const std::string& name) { return name.empty() ? "needs a file name" : ""; }, ""));
}

}  // namespace tessaro
