// tessaro-sim: a simulated recorder on 127.0.0.1 and/or a pseudo-terminal,
// for tests, demos and users without the hardware. Prints "tcp
// 127.0.0.1:PORT" and "pty /dev/pts/N" for scripts, then serves until
// SIGINT or SIGTERM.

#include <signal.h>

#include <iostream>
#include <string>

#include "sim/ProfileLoader.h"
#include "sim/SimCommandLine.h"
#include "sim/SimServer.h"

int main(int argc, char** argv) {
  tessaro::sim::SimOptions options;
  int status = 0;
  if (!tessaro::sim::ParseSimCommandLine({argv + 1, argv + argc}, options, std::cout, std::cerr,
                                         status))
    return status;
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
