#include "ui/print/PrinterSettings.h"

#include <QByteArray>
#include <QDataStream>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/support/AppPaths.h"
#include "core/support/PrinterChoice.h"
#include "ui/print/CurrentPrinter.h"

namespace tessaro {
namespace {

// The stream format stays fixed so a later Qt reads what this one wrote.
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

}  // namespace

std::string SerializePrinterSettings(const QPrinter& printer) {
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream.setVersion(kStreamVersion);
  const QPageLayout layout = printer.pageLayout();
  const QPageSize size = layout.pageSize();
  stream << qint32(size.id()) << size.key() << size.name() << size.size(QPageSize::Point)
         << qint32(layout.orientation()) << layout.margins(QPageLayout::Millimeter)
         << qint32(printer.duplex()) << qint32(printer.copyCount()) << printer.collateCopies()
         << qint32(printer.colorMode()) << qint32(printer.resolution())
         << qint32(printer.paperSource());
  return bytes.toStdString();
}

bool ApplyPrinterSettings(QPrinter& printer, const std::string& settings) {
  const QByteArray bytes = QByteArray::fromStdString(settings);
  QDataStream stream(bytes);
  stream.setVersion(kStreamVersion);
  qint32 sizeId = 0, orientation = 0, duplex = 0, copies = 0, colour = 0, resolution = 0,
         source = 0;
  QString sizeKey, sizeName;
  QSizeF points;
  QMarginsF margins;
  bool collate = false;
  stream >> sizeId >> sizeKey >> sizeName >> points >> orientation >> margins >> duplex >> copies >>
      collate >> colour >> resolution >> source;
  if (stream.status() != QDataStream::Ok || !stream.atEnd()) return false;
  if (sizeId < 0 || sizeId > QPageSize::LastPageSize || copies < 1 || resolution < 1 ||
      orientation < QPageLayout::Portrait || orientation > QPageLayout::Landscape ||
      duplex < QPrinter::DuplexNone || duplex > QPrinter::DuplexShortSide ||
      colour < QPrinter::GrayScale || colour > QPrinter::Color || source < 0 ||
      source > QPrinter::LastPaperSource)
    return false;
  const QPageSize size = sizeId == QPageSize::Custom
                             ? QPageSize(points, QPageSize::Point, sizeName)
                             : QPageSize(static_cast<QPageSize::PageSizeId>(sizeId));
  if (!size.isValid()) return false;
  printer.setPageSize(size);
  printer.setPageOrientation(static_cast<QPageLayout::Orientation>(orientation));
  printer.setPageMargins(margins, QPageLayout::Millimeter);
  printer.setDuplex(static_cast<QPrinter::DuplexMode>(duplex));
  printer.setCopyCount(copies);
  printer.setCollateCopies(collate);
  printer.setColorMode(static_cast<QPrinter::ColorMode>(colour));
  printer.setResolution(resolution);
  printer.setPaperSource(static_cast<QPrinter::PaperSource>(source));
  return true;
}

bool SavePrinterSettings(const QPrinter& printer, const AppPaths& paths) {
  return SavePrinterChoice(
      paths.settingsFile, paths.printSettingsFile,
      {printer.printerName().toStdString(), SerializePrinterSettings(printer)});
}

bool RestorePrinterSettings(QPrinter& printer, const AppPaths& paths,
                            const QStringList& availablePrinters) {
  const auto stored = LoadPrinterChoice(paths.settingsFile, paths.printSettingsFile);
  if (!stored) return false;
  const QString name = QString::fromStdString(stored->name);
  if (!availablePrinters.contains(name)) return false;
  printer.setPrinterName(name);
  return stored->settings && ApplyPrinterSettings(printer, *stored->settings);
}

bool RestoreCurrentPrinter(const AppPaths& paths) {
  if (!QFileInfo::exists(QString::fromStdString(paths.printSettingsFile))) return false;
  return RestorePrinterSettings(CurrentPrinter(), paths, QPrinterInfo::availablePrinterNames());
}

}  // namespace tessaro
