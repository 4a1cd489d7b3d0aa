#include "sim/SimCommandLine.h"

#include <CLI/CLI.hpp>

namespace tessaro::sim {
namespace {

constexpr const char* kProgram = "tessaro-sim";

// K[:TIMES] of --corrupt-block, both at least 1.
void SetCorruptBlock(const std::string& text, FaultSettings& faults) {
  const size_t colon = text.find(':');
  int block = 0, times = 1;
  if (!CLI::detail::lexical_cast(text.substr(0, colon), block) || block < 1 ||
      (colon != std::string::npos &&
       (!CLI::detail::lexical_cast(text.substr(colon + 1), times) || times < 1)))
    throw CLI::ValidationError("--corrupt-block", "K[:TIMES] of numbers from 1, not " + text);
  faults.corruptBlock = block;
  faults.corruptTimes = times;
}

// A range check that leaves the help's value name alone.
CLI::Validator Within(int low, int high) { return CLI::Range(low, high).description(""); }

// The faults that take one number, from low up.
struct NumberFault {
  const char* name;
  int FaultSettings::*field;
  const char* value;
  const char* help;
  int low;
};

const NumberFault kNumberFaults[] = {
    {"--drop-block", &FaultSettings::dropBlock, "K", "leave block K out once", 1},
    {"--repeat-block", &FaultSettings::repeatBlock, "K", "send block K twice", 1},
    {"--stop-after-block", &FaultSettings::stopAfterBlock, "K", "fall silent after block K", 1},
    {"--eot-after-blocks", &FaultSettings::eotAfterBlocks, "K",
     "end a transfer with EOT after K blocks", 0},
    {"--extra-blocks", &FaultSettings::extraBlocks, "N", "send N padding blocks after the data", 0},
    {"--delay", &FaultSettings::delayMs, "MS", "wait before every reply", 0},
    {"--silent-after", &FaultSettings::silentAfter, "N", "answer N commands, then none", 0},
    {"--baud", &FaultSettings::baud, "N", "throttle replies to this bit rate", 1},
    {"--refuse-times", &FaultSettings::refuseTimes, "N",
     "refuse each --refuse command only N times (0: always)", 0},
    {"--late-reply", &FaultSettings::lateReply, "K",
     "answer command K --late-ms late, dropping what comes meanwhile", 1},
    {"--late-ms", &FaultSettings::lateMs, "MS", "how late --late-reply answers", 0},
    {"--faulty-connections", &FaultSettings::faultyConnections, "K",
     "the faults hit only the first K TCP connections", 1},
    {"--grow", &FaultSettings::growRecords, "N",
     "the NEW ring grows by N records at each TCP connection after the first", 1},
};

void AddOptions(CLI::App& app, SimOptions& o) {
  app.add_option("--tcp", o.tcpPort, "listen on this port of 127.0.0.1 (0: a free one)")
      ->type_name("PORT")
      ->check(Within(0, 65535));
  app.add_flag("--pty", o.pty, "serve on a pseudo-terminal");
  app.add_option("--slave-ids", o.slaveIds, "recorders on a multi-link line, by slave ID")
      ->type_name("LIST")
      ->delimiter(',')
      ->check(Within(0, 0xFFFF));
  app.add_option("--profile", o.profile, "recorder profile: a shipped name or an .ini file")
      ->type_name("NAME|PATH");
  app.add_option_function<std::string>(
         "--corrupt-block", [&o](const std::string& v) { SetCorruptBlock(v, o.faults); },
         "send block K with a wrong checksum, TIMES attempts in a row")
      ->type_name("K[:TIMES]");
  for (const NumberFault& fault : kNumberFaults)
    app.add_option(fault.name, o.faults.*fault.field, fault.help)
        ->type_name(fault.value)
        ->check(Within(fault.low, std::numeric_limits<int>::max()));
  app.add_option("--fault-transfer", o.faults.transferFilter,
                 "block faults only for transfer commands containing TEXT")
      ->type_name("TEXT");
  app.add_option("--refuse", o.faults.refused, "answer \"??\" to commands starting with CMD")
      ->type_name("CMD")
      ->allow_extra_args(false);
  app.add_flag("--list-profiles", o.listProfiles, "list the shipped profiles and exit");
}

}  // namespace

bool ParseSimCommandLine(const std::vector<std::string>& args, SimOptions& options,
                         std::ostream& out, std::ostream& err, int& status) {
  CLI::App app("A simulated recorder on 127.0.0.1 and/or a pseudo-terminal.", kProgram);
  app.set_help_flag("-h,--help", "print this help and exit");
  app.set_version_flag("--version", std::string(kProgram) + " " + TESSARO_VERSION,
                       "print the version and exit");
  app.footer(
      "Without --tcp or --pty it listens on a free TCP port. Block faults count the\n"
      "blocks of each transfer from 1; --fault-transfer limits them to transfer\n"
      "commands containing TEXT (for example dd for ring data).");
  options = SimOptions{};
  AddOptions(app, options);
  status = 0;
  try {
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return false;
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << "\n";
    return false;
  } catch (const CLI::ParseError& error) {
    err << kProgram << ": " << error.what() << "\nRun \"" << kProgram << " --help\" for more.\n";
    status = 2;
    return false;
  }
  if (options.tcpPort < 0 && !options.pty) options.tcpPort = 0;
  return true;
}

}  // namespace tessaro::sim
