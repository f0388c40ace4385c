#include "app/shell/directory_chooser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/dialog_buttons.h"
#include "app/shell/form_helpers.h"
#include "app/shell/whats_this.h"
#include "app/shell/window_dialogs.h"
#include "core/shell/directory_choice.h"

namespace quorvant::app {
namespace {

// The root folders of the mounted volumes, "/" first.
QStringList VolumeRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady()) roots << volume.rootPath();
  }
  roots.removeDuplicates();
  roots.sort();
  return roots;
}

// The nearest folder at or above dir that exists.
QString ExistingFolder(const QString& dir) {
  QString path = QDir(dir.isEmpty() ? QDir::homePath() : dir).absolutePath();
  while (!QFileInfo(path).isDir()) {
    const QString up = QFileInfo(path).path();
    if (up == path) return QDir::rootPath();
    path = up;
  }
  return path;
}

}  // namespace

TQVXSelDir::TQVXSelDir(WindowDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
  setObjectName("TQVXSelDir");
  setWindowTitle("Select Directory");

  eDirName_ = Named("eDirName", new QLineEdit(this));
  tvDirectories_ = Named("tvDirectories", new QTreeView(this));
  tvDirectories_->setHeaderHidden(true);
  tvDirectories_->installEventFilter(this);
  tvDirectories_->viewport()->installEventFilter(this);
  lbFiles_ = Named("lbFiles", new QListView(this));
  lbFiles_->setEnabled(false);
  cmbDrive_ = Named("cmbDrive", new QComboBox(this));
  cmbDrive_->addItems(VolumeRoots());
  connect(cmbDrive_, &QComboBox::activated, this, &TQVXSelDir::DriveChosen);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  auto* grid = new QGridLayout;
  grid->addWidget(BuddyLabel("&Directories:", tvDirectories_, this), 0, 0);
  grid->addWidget(tvDirectories_, 1, 0);
  grid->addWidget(BuddyLabel("&Files (*.*):", lbFiles_, this), 0, 1);
  grid->addWidget(lbFiles_, 1, 1);
  grid->addWidget(BuddyLabel("D&rive:", cmbDrive_, this), 2, 0, 1, 2);
  grid->addWidget(cmbDrive_, 3, 0);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuddyLabel("Directory &Name:", eDirName_, this));
  layout->addWidget(eDirName_);
  layout->addLayout(grid, 1);
  layout->addWidget(buttons);
  resize(520, 400);
  InstallWhatsThis(this);
}

void TQVXSelDir::CreateModels() {
  if (directories_ != nullptr) return;
  directories_ = new QFileSystemModel(this);
  directories_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  directories_->setRootPath(QDir::rootPath());
  tvDirectories_->setModel(directories_);
  for (int column = 1; column < directories_->columnCount(); ++column) {
    tvDirectories_->hideColumn(column);
  }
  tvDirectories_->setSortingEnabled(true);
  tvDirectories_->sortByColumn(0, Qt::AscendingOrder);
  connect(tvDirectories_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TQVXSelDir::TreeChanged);
  // Folders are read in the background and sorted as they arrive; the chosen
  // one is kept in view until the person takes over the tree.
  const auto keep_in_view = [this] {
    if (!follow_current_) return;
    tvDirectories_->scrollTo(tvDirectories_->currentIndex(), QAbstractItemView::PositionAtCenter);
  };
  connect(directories_, &QFileSystemModel::directoryLoaded, this, keep_in_view);
  connect(directories_, &QFileSystemModel::layoutChanged, this, keep_in_view);

  files_ = new QFileSystemModel(this);
  files_->setFilter(QDir::Files);
  lbFiles_->setModel(files_);
}

void TQVXSelDir::SetDirectory(const QString& dir) {
  CreateModels();
  ShowInTree(ExistingFolder(dir));
}

void TQVXSelDir::ShowInTree(const QString& dir) {
  const QModelIndex index = directories_->index(dir);
  for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) {
    tvDirectories_->expand(above);
  }
  tvDirectories_->setCurrentIndex(index);
  tvDirectories_->expand(index);
  tvDirectories_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  follow_current_ = true;
  // The tree reports no change when the folder was already current.
  TreeChanged();
}

void TQVXSelDir::TreeChanged() {
  const QString dir = directories_->filePath(tvDirectories_->currentIndex());
  if (dir.isEmpty()) return;
  eDirName_->setText(QDir::toNativeSeparators(dir));
  lbFiles_->setRootIndex(files_->setRootPath(dir));
  QString drive;
  for (int i = 0; i < cmbDrive_->count(); ++i) {
    const QString root = cmbDrive_->itemText(i);
    if (dir.startsWith(root) && root.size() > drive.size()) {
      drive = root;
      cmbDrive_->setCurrentIndex(i);
    }
  }
}

bool TQVXSelDir::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress) {
    follow_current_ = false;
  }
  return QDialog::eventFilter(watched, event);
}

void TQVXSelDir::DriveChosen(int index) { ShowInTree(cmbDrive_->itemText(index)); }

QString TQVXSelDir::Directory() const { return eDirName_->text(); }

// A relative name is taken inside the folder the tree shows.
void TQVXSelDir::accept() {
  QString name = eDirName_->text().trimmed();
  if (QDir::isRelativePath(name)) {
    const QString base = directories_ != nullptr
                             ? directories_->filePath(tvDirectories_->currentIndex())
                             : QDir::homePath();
    name = QDir(base).absoluteFilePath(name);
  }
  const bool ok = AcceptDirectory(
      name.toStdString(),
      [this](const std::string& q) {
        return dialogs_.ConfirmCreate(this, QString::fromStdString(q));
      },
      [this](const std::string& m) { dialogs_.DirectoryError(this, QString::fromStdString(m)); });
  if (!ok) return;
  eDirName_->setText(name);
  QDialog::accept();
}

}  // namespace quorvant::app
