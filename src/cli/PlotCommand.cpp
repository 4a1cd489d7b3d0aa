#include "cli/PlotCommand.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <vector>

#include "cli/CliDefinitions.h"
#include "cli/CliFolders.h"
#include "core/collect/DataFileInfo.h"
#include "core/collect/TemporaryNames.h"
#include "core/support/AppPaths.h"
#include "core/support/DateTime.h"
#include "core/support/Messages.h"

#ifdef TESSARO_HAS_GRAPH
#include <QApplication>
#include <QFileInfo>

#include "core/graph/GraphSource.h"
#include "ui/graph/GraphImage.h"
#include "ui/graph/GraphView.h"
#include "ui/shell/QtText.h"
#endif

namespace tessaro {
namespace {

struct PlotRequest {
  int width = 0;
  int height = 0;
  std::vector<int> channels;  // from 1
  std::optional<double> from, to;
};

std::optional<double> ParseTime(const std::string& text) {
  DateTimeFields f;
  char tail;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &f.year, &f.month, &f.day, &f.hour,
                  &f.minute, &f.second, &tail) != 6 ||
      f.year < 1970 || f.year > 2069 || f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > MonthLength(f.year, f.month) || f.hour > 23 || f.minute > 59 || f.second > 59 ||
      f.hour < 0 || f.minute < 0 || f.second < 0)
    return std::nullopt;
  return static_cast<double>(DateTimeSeconds(EncodeDateTime(f)));
}

// The request, or a usage message in error.
std::optional<PlotRequest> ParseRequest(const PlotArguments& arguments, std::string& error) {
  PlotRequest request;
  char x, tail;
  if (std::sscanf(arguments.size.c_str(), "%d%c%d%c", &request.width, &x, &request.height, &tail) !=
          3 ||
      x != 'x' || request.width < 100 || request.height < 100 || request.width > 10000 ||
      request.height > 10000) {
    error = "--size must be WIDTHxHEIGHT, each 100 to 10000: " + arguments.size;
    return std::nullopt;
  }
  std::string list = arguments.channels;
  for (size_t at = 0; !list.empty() && at <= list.size();) {
    const size_t comma = std::min(list.find(',', at), list.size());
    const std::string item = list.substr(at, comma - at);
    int channel = 0;
    if (std::sscanf(item.c_str(), "%d%c", &channel, &tail) != 1 || channel < 1 ||
        channel > kMaxChannels) {
      error = "--channels must list channel numbers 1 to 32: " + arguments.channels;
      return std::nullopt;
    }
    request.channels.push_back(channel);
    at = comma + 1;
  }
  for (auto [text, value, name] : {std::tuple{&arguments.from, &request.from, "--from"},
                                   std::tuple{&arguments.to, &request.to, "--to"}}) {
    if (text->empty()) continue;
    *value = ParseTime(*text);
    if (!*value) {
      error = std::string(name) + " must be a time \"YYYY-MM-DD hh:mm:ss\": " + *text;
      return std::nullopt;
    }
  }
  return request;
}

#ifdef TESSARO_HAS_GRAPH
int DrawPlot(CliContext& context, const PlotArguments& arguments, const PlotRequest& request) {
  DefinitionDb db;
  if (!OpenDefinitions(db, {}, context.err)) return kExitFailed;
  GraphSource source;
  if (!source.Open(arguments.rlbPath, db)) return kExitFailed;

  const std::vector<GraphChannel>& channels = source.Channels();
  std::vector<bool> shown(channels.size(), request.channels.empty());
  for (int number : request.channels) {
    size_t i = 0;
    while (i < channels.size() && channels[i].index != number - 1) ++i;
    if (i == channels.size()) {
      context.err << FormatMessage(MsgGraphNoSuchChannel, number) << std::endl;
      return kExitFailed;
    }
    shown[i] = true;
  }
  const GraphTimeline& timeline = source.Timeline();
  int64_t begin = 0, end = source.RecordCount();
  if (request.from || request.to) {
    std::tie(begin, end) =
        timeline.hasTime
            ? timeline.RecordsBetween(request.from.value_or(-1e18), request.to.value_or(1e18), end)
            : std::pair<int64_t, int64_t>{0, 0};
    if (begin == end) {
      context.err << LoadMessage(MsgGraphEmptyRange) << std::endl;
      return kExitFailed;
    }
  }

  TGraphView view(source, QFileInfo(ToQt(arguments.rlbPath)).fileName());
  view.Graph().SetShownChannels(shown);
  view.Viewport().Show(begin, end);
  view.resize(request.width, request.height);
  view.show();
  QApplication::processEvents();
  const QString path = ToQt(arguments.imagePath);
  if (!view.Redraw() || !SaveViewImage(&view, path, ImageFormatOf(path))) {
    context.err << LoadMessage(MsgGraphSaveFailed) << std::endl;
    return kExitFailed;
  }
  context.out << arguments.imagePath << std::endl;
  return kExitOk;
}
#endif

}  // namespace

void BindPlotArguments(CLI::App& command, PlotArguments& arguments) {
  command.add_option("RLB", arguments.rlbPath, "the RLB file to draw")->required();
  command.add_option("--png", arguments.imagePath, "the picture to write (.svg: SVG)")->required();
  command.add_option("--channels", arguments.channels, "channel numbers to draw, e.g. 1,3");
  command.add_option("--size", arguments.size, "picture size WIDTHxHEIGHT")->capture_default_str();
  command.add_option("--from", arguments.from, "first time drawn, \"YYYY-MM-DD hh:mm:ss\"");
  command.add_option("--to", arguments.to, "last time drawn, \"YYYY-MM-DD hh:mm:ss\"");
}

int RunPlot(CliContext& context, const PlotArguments& arguments) {
  std::string error;
  const std::optional<PlotRequest> request = ParseRequest(arguments, error);
  if (!request) {
    context.err << error << std::endl;
    return kExitUsage;
  }
#ifdef TESSARO_HAS_GRAPH
  if (!PrepareUserFolders(context.err)) return kExitFailed;
  RemoveStaleTemporariesAtStart(CurrentAppPaths());
  // Drawn without a display, whatever the environment says.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tessaro-cli";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return DrawPlot(context, arguments, *request);
  QApplication application(argc, argv);
  return DrawPlot(context, arguments, *request);
#else
  context.err << "plot: this build has no graph support (built without Qt)" << std::endl;
  return kExitFailed;
#endif
}

}  // namespace tessaro
