#include "cli/CliCommandLine.h"
#include "cli/ClockCommand.h"
#include "cli/CoefCommand.h"
#include "cli/CollectCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/FirmwareCommand.h"
#include "cli/IntervalsCommand.h"
#include "cli/MemoCommand.h"
#include "cli/ModesCommand.h"
#include "cli/PortsCommand.h"
#include "cli/MonitorCommand.h"
#include "cli/PlotCommand.h"
#include "cli/RingsCommand.h"
#include "cli/SendCommand.h"
#include "cli/TermCommand.h"

namespace tessaro {

void AddCliCommands(CliCommandLine& commands) {
  using Line = CliCommandLine::Line;
  commands.Add("probe", "check that a recorder answers on the line", Line::Needed, RunProbe);
  commands.Add("send", "send each TEXT as a command and print each reply", Line::Needed,
               BindSendArguments, RunSend);
  commands.Add("convert", "convert an RLB file into a CSV file", Line::NotUsed,
               BindConvertArguments, RunConvert);
  commands.Add("rings", "list the recorder's rings as the collection dialog shows them",
               Line::Needed, RunRings);
  commands.Add("collect", "collect one ring into a CSV file", Line::Needed, BindCollectArguments,
               RunCollect);
  commands.Add("clock", "show the recorder clock, or set it", Line::Needed, BindClockArguments,
               RunClock);
  commands.Add("memo", "show the recorder's user memos, or set them", Line::Needed,
               BindMemoArguments, RunMemo);
  commands.Add("modes", "show or set the measurement mode of each channel", Line::Needed,
               BindModesArguments, RunModes);
  commands.Add("coef", "show the recorder's control coefficients, or write one", Line::Needed,
               BindCoefArguments, RunCoef);
  commands.Add("intervals", "show or set the measurement interval, pre-timer and sampling",
               Line::Needed, BindIntervalsArguments, RunIntervals);
  commands.Add("ports", "list the serial devices and what identifies each", Line::NotUsed,
               RunPorts);
  commands.Add("monitor", "send a command over and over and list its replies", Line::Needed,
               BindMonitorArguments, RunMonitor);
  commands.Add("term", "a line-mode terminal to the recorder on stdin and stdout", Line::Needed,
               BindTermArguments, RunTerm);
  commands.Add("firmware", "check an S-record file and write it to the recorder as its program",
               Line::OnDemand, BindFirmwareArguments, RunFirmware);
  commands.Add("plot", "draw an RLB file's graph into a PNG or SVG file", Line::NotUsed,
               BindPlotArguments, RunPlot);
}

}  // namespace tessaro
