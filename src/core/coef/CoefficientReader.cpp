#include "core/coef/CoefficientReader.h"

#include <algorithm>
#include <optional>

#include "core/coef/TupleTableBuilder.h"
#include "core/coef/TupleWalk.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TransferMode.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

using namespace tuples;

struct Identity {
  TransferMode mode = TransferMode::Xdm;
  int ringCount = 0;
  int64_t attributeSize = 0;
  std::string serialNumber;
};

Identity ReadIdentity(RecorderSession& session, bool highSpeedMode) {
  Identity identity;
  session.Ask("ver", MsgNoEchoBack);
  session.CheckCancel();
  const auto capability = session.TryAsk(Area::Rom.ReadCommand(kRomCapability));
  identity.mode = ChooseTransferMode(
      capability ? std::optional<int64_t>(ReplyInteger(*capability)) : std::nullopt, highSpeedMode);
  session.CheckCancel();
  const int64_t rings =
      ReplyInteger(session.ReadTupleRequired(Area::Rom, kRomRingCount, MsgRingCountReadFailed));
  identity.ringCount = static_cast<int>(std::clamp<int64_t>(rings, 0, kMaxFileGroups));
  session.CheckCancel();
  identity.attributeSize = ReplyInteger(
      session.ReadTupleRequired(Area::Rom, kRomAttributeSize, MsgAttributeSizeReadFailed));
  identity.serialNumber =
      Cp932ToUtf8(session.ReadTupleRequired(Area::Eep, kEepSerial, MsgSerialReadFailed));
  return identity;
}

void ReceiveAreas(RecorderSession& session, TransferMode mode, int64_t attributeSize,
                  TupleAreaImages& images) {
  const std::string prefix = TransferPrefix(mode);
  auto receive = [&](const char* what, AreaTally tally, std::vector<uint8_t>& image,
                     TransferProgress progress, int failure) {
    if (!session.TryReceiveArea(prefix + what, tally, MemorySink(image), progress))
      Fail(session.CancelRequested() ? MsgCancelPressed : failure);
  };
  receive("rr", AreaTally::TupleChain(), images.rom, TransferProgress::Hidden, MsgRomAreaFailed);
  receive("ee", AreaTally::TupleChain(), images.eep, TransferProgress::Hidden, MsgEepAreaFailed);
  PumpMessages();
  // The attribute size only makes 100 % of the BATT progress; a size below 1
  // asks for no byte count.
  receive("bb", AreaTally::AtLeast(std::max<int64_t>(attributeSize, 0)), images.batt,
          TransferProgress::Shown, MsgFileAreaFailed);
}

// Where ring's FILE group starts in the BATT image; nullopt for a group the
// recorder does not have (-1) or one outside the image.
std::optional<int64_t> GroupStart(const TupleAreaImages& images, std::optional<int64_t> stride,
                                  int ring) {
  const int pointerNumber = stride ? kFilePointer : kFilePointer + ring;
  const auto pointer = FindTuple(images.batt, 0, pointerNumber);
  Require(pointer && pointer->IsInteger(), MsgFilePointerInvalid);
  if (pointer->Integer() < 0) return std::nullopt;
  const int64_t start = pointer->Integer() + (stride ? *stride * ring : 0);
  if (start >= static_cast<int64_t>(images.batt.size())) return std::nullopt;
  return start;
}

}  // namespace

StepResult BuildCoefficientTables(const TupleAreaImages& images, int ringCount,
                                  const DefinitionDb& db, ProgressReporter& progress,
                                  CoefficientTables& tables) {
  tables.tables.clear();
  const StepResult built = RunOperation([&] {
    const auto strideTuple = FindTuple(images.rom, 0, kRomFileStride);
    std::optional<int64_t> stride;
    if (strideTuple && strideTuple->IsInteger() && strideTuple->Integer() > 0)
      stride = strideTuple->Integer();

    TupleTableBuilder builder(db, progress);
    tables.tables.reserve(3 + static_cast<size_t>(std::max(ringCount, 0)));
    tables.tables.push_back(builder.Build(Area::Rom, images.rom, 0));
    tables.tables.push_back(builder.Build(Area::Eep, images.eep, 0));
    tables.tables.push_back(builder.Build(Area::Batt, images.batt, 0));
    for (int ring = 0; ring < std::min(ringCount, kMaxFileGroups); ++ring) {
      const Area group = Area::File(ring + 1);
      const auto start = GroupStart(images, stride, ring);
      tables.tables.push_back(start ? builder.Build(group, images.batt, *start)
                                    : TupleTableBuilder::Empty(group));
    }
  });
  if (!built) tables.tables.clear();
  return built;
}

StepResult ReadCoefficients(LineContext& line, ProgressReporter& progress, const DefinitionDb& db,
                            bool highSpeedMode, CoefficientTables& tables) {
  tables = CoefficientTables{};
  RecorderSession session(line, progress);
  TupleAreaImages images;
  Identity identity;
  progress.SetCaption(LoadMessage(MsgCoefReadCaption));
  session.Status(MsgCoefManagementReading);
  session.Percent(0);
  const StepResult received = RunOperation([&] {
    session.CheckLine();
    identity = ReadIdentity(session, highSpeedMode);
    session.Status(MsgCoefTuplesReading);
    ReceiveAreas(session, identity.mode, identity.attributeSize, images);
  });
  if (!received) return received;
  const StepResult built = BuildCoefficientTables(images, identity.ringCount, db, progress, tables);
  if (built) tables.serialNumber = identity.serialNumber;
  return built;
}

}  // namespace tessaro
