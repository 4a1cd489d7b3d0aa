#pragma once
// Where the function dialogs join the main window: each function adds one
// line to InstallFeatureDialogs, e.g.
//   form.SetFeatureDialog(FeatureCommand::Clock,
//                         [&form] { return std::make_unique<TTimeDLG>(form); });
// (pass needsDefinitions = true for functions that read the definition
// database) and the firmware writer with form.SetFirmwareWriter(...).
// A function without a line stays disabled.

namespace tessaro {

class TMainForm;

void InstallFeatureDialogs(TMainForm& form);

}  // namespace tessaro
