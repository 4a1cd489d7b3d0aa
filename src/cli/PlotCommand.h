#pragma once
// tessaro-cli plot RLB --png OUT [--channels 1,3] [--size 1600x900]
// [--from "YYYY-MM-DD hh:mm:ss"] [--to ...]: the graph window's picture
// drawn without a display. A file that fails analysis gives the analysis
// message and no picture.

#include <string>

#include "cli/CliCommand.h"

namespace CLI {
class App;
}

namespace tessaro {

struct PlotArguments {
  std::string rlbPath;
  std::string imagePath;  // PNG, or SVG by its extension
  std::string channels;   // "1,3": channel numbers from 1; empty: every drawn channel
  std::string size = "1600x900";
  std::string from;  // empty: from the first record
  std::string to;    // empty: to the last record
};

void BindPlotArguments(CLI::App& command, PlotArguments& arguments);

int RunPlot(CliContext& context, const PlotArguments& arguments);

}  // namespace tessaro
