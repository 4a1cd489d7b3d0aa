// tessaro-sim: a simulated recorder on 127.0.0.1 and/or a pseudo-terminal,
// for tests, demos and users without the hardware. Prints "tcp
// 127.0.0.1:PORT" and "pty /dev/pts/N" for scripts, then serves until
// SIGINT or SIGTERM.

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/ProfileLoader.h"
#include "sim/SimServer.h"

namespace {

using tessaro::sim::FaultSettings;

constexpr const char* kUsage =
    "usage: tessaro-sim [--tcp PORT] [--pty] [--slave-ids LIST] [--profile NAME|PATH]\n"
    "                   [--corrupt-block K[:TIMES]] [--drop-block K] [--repeat-block K]\n"
    "                   [--stop-after-block K] [--eot-after-blocks K] [--extra-blocks N]\n"
    "                   [--fault-transfer TEXT] [--delay MS]\n"
    "                   [--silent-after N] [--refuse CMD]... [--baud N] [--list-profiles]\n"
    "Without --tcp or --pty it listens on a free TCP port. Block faults count the\n"
    "blocks of each transfer from 1; --fault-transfer limits them to transfer\n"
    "commands containing TEXT (for example dd for ring data).\n";

struct UsageError {
  std::string message;
};

int Number(const std::string& option, const std::string& text, int low) {
  size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || value < low) {
    throw UsageError{option + ": \"" + text + "\" is not a number of at least " +
                     std::to_string(low)};
  }
  return value;
}

std::vector<int> NumberList(const std::string& option, const std::string& text) {
  std::vector<int> list;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) list.push_back(Number(option, item, 0));
  if (list.empty()) throw UsageError{option + ": empty list"};
  return list;
}

struct Options {
  int tcpPort = -1;
  bool pty = false;
  std::vector<int> slaveIds;
  std::string profile = "default";
  FaultSettings faults;
  bool listProfiles = false;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError{arg + " needs a value"};
      return argv[++i];
    };
    if (arg == "--tcp") {
      o.tcpPort = Number(arg, value(), 0);
      if (o.tcpPort > 65535) throw UsageError{"--tcp: port above 65535"};
    } else if (arg == "--pty") {
      o.pty = true;
    } else if (arg == "--slave-ids") {
      o.slaveIds = NumberList(arg, value());
    } else if (arg == "--profile") {
      o.profile = value();
    } else if (arg == "--corrupt-block") {
      const std::string v = value();
      const size_t colon = v.find(':');
      o.faults.corruptBlock = Number(arg, v.substr(0, colon), 1);
      if (colon != std::string::npos) o.faults.corruptTimes = Number(arg, v.substr(colon + 1), 1);
    } else if (arg == "--drop-block") {
      o.faults.dropBlock = Number(arg, value(), 1);
    } else if (arg == "--repeat-block") {
      o.faults.repeatBlock = Number(arg, value(), 1);
    } else if (arg == "--stop-after-block") {
      o.faults.stopAfterBlock = Number(arg, value(), 1);
    } else if (arg == "--eot-after-blocks") {
      o.faults.eotAfterBlocks = Number(arg, value(), 0);
    } else if (arg == "--extra-blocks") {
      o.faults.extraBlocks = Number(arg, value(), 0);
    } else if (arg == "--fault-transfer") {
      o.faults.transferFilter = value();
    } else if (arg == "--delay") {
      o.faults.delayMs = Number(arg, value(), 0);
    } else if (arg == "--silent-after") {
      o.faults.silentAfter = Number(arg, value(), 0);
    } else if (arg == "--refuse") {
      o.faults.refused.push_back(value());
    } else if (arg == "--baud") {
      o.faults.baud = Number(arg, value(), 1);
    } else if (arg == "--list-profiles") {
      o.listProfiles = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else {
      throw UsageError{"unknown option " + arg};
    }
  }
  if (o.tcpPort < 0 && !o.pty) o.tcpPort = 0;
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "tessaro-sim: " << e.message << "\n" << kUsage;
    return 2;
  }
  if (options.listProfiles) {
    for (const auto& [name, description] : tessaro::sim::ListProfiles()) {
      std::cout << name << "\t" << description << "\n";
    }
    return 0;
  }
  std::string error;
  const auto profile = tessaro::sim::LoadProfile(options.profile, error);
  if (!profile) {
    std::cerr << "tessaro-sim: " << error << "\n";
    return 1;
  }

  // Block the stop signals before any thread starts; main waits for them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    tessaro::sim::SimServer server(*profile, options.slaveIds);
    server.GetFaults().Set(options.faults);
    if (options.tcpPort >= 0) {
      const int port = server.StartTcp(options.tcpPort);
      std::cout << "tcp 127.0.0.1:" << port << std::endl;
    }
    if (options.pty) std::cout << "pty " << server.StartPty() << std::endl;
    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
  } catch (const std::exception& e) {
    std::cerr << "tessaro-sim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
