#pragma once
// The folder chooser: shows the platform's folder dialog, starting at the
// stored folder when it exists, and hands back the chosen folder with a
// trailing separator.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace tessaro {

enum class TRootFolder { rfDrives, rfDeskTop, rfNetWork };

class TPathDLG : public QObject {
  Q_OBJECT

 public:
  // Shows a folder dialog (owner, title, start folder) and returns the chosen
  // folder, or an empty text on cancel. Tests replace it.
  using Chooser = std::function<QString(QWidget*, const QString&, const QString&)>;

  explicit TPathDLG(QWidget* owner = nullptr);

  TRootFolder RootFolder() const { return root_; }
  void SetRootFolder(TRootFolder root) { root_ = root; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

  void SetFolder(const QString& folder) { folder_ = folder; }
  // The folder with a trailing separator.
  QString Folder() const { return WithTrailingSeparator(folder_); }

  // True when the user chose a folder; then Folder() is that folder.
  bool Execute();

  void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }
  // Where the dialog opens: the stored folder when it exists, else the root.
  QString StartFolder() const;

  static QString WithTrailingSeparator(const QString& folder);

 private:
  QWidget* owner_;
  TRootFolder root_ = TRootFolder::rfDrives;
  QString title_;
  QString folder_;
  Chooser chooser_;
};

}  // namespace tessaro
