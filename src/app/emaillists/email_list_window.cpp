// TQVXEList: layout, opening, the labels and the list commands.
#include "app/emaillists/email_list_window.h"

#include <QAbstractItemDelegate>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "app/emaillists/email_list_changes.h"
#include "app/emaillists/email_list_dialogs.h"
#include "app/emaillists/email_list_model.h"
#include "app/reports/report_printing.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/form_helpers.h"
#include "core/emaillists/email_list_labels.h"
#include "core/emaillists/email_list_print.h"
#include "core/emaillists/email_list_transfer.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"

namespace quorvant::app {
namespace {

constexpr char kListExtension[] = ".eml";
constexpr QSize kDesignedSize(640, 420);

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TQVXEList::TQVXEList(SettingsStore& settings, Prompts& prompts, EmailListDialogs& dialogs,
                     std::string data_dir, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      settings_(settings),
      prompts_(prompts),
      dialogs_(dialogs),
      data_dir_(std::move(data_dir)),
      list_(prompts) {
  setObjectName("TQVXEList");
  setAttribute(Qt::WA_DeleteOnClose);
  model_ = new EmailListModel(
      list_, [this](const std::string& message) { prompts_.ShowError(message); }, this);
  BuildLayout();
  setupActions();
  RestoreWindowPlacement();
  connect(model_, &EmailListModel::Edited, this, &TQVXEList::Announce);
  connect(&EmailListChanges::Instance(), &EmailListChanges::Changed, this,
          [this](const QString& file_key, const QObject* source) {
            if (source != this && list_.IsOpen() &&
                file_key == EmailListChanges::FileKey(list_.path())) {
              Reread();
            }
          });
}

TQVXEList::~TQVXEList() = default;

void TQVXEList::BuildLayout() {
  auto* central = new QWidget(this);
  lblFind_ = Named("lblFind", new QLabel(central));
  eFind_ = Named("eFind", new QLineEdit(central));
  lblFind_->setBuddy(eFind_);
  connect(eFind_, &QLineEdit::returnPressed, this, &TQVXEList::Find);

  dbgEMail_ = Named("dbgEMail", new QTableView(central));
  dbgEMail_->setModel(model_);
  dbgEMail_->setSelectionBehavior(QAbstractItemView::SelectRows);
  dbgEMail_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  dbgEMail_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
  dbgEMail_->setTabKeyNavigation(true);
  dbgEMail_->horizontalHeader()->setSectionsClickable(true);
  dbgEMail_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  dbgEMail_->verticalHeader()->setDefaultSectionSize(dbgEMail_->fontMetrics().height() + 6);
  dbgEMail_->verticalHeader()->setMinimumWidth(dbgEMail_->fontMetrics().height() + 4);
  // The grid's display widths, in characters.
  for (int field = 0; field < kEmailFieldCount; ++field) {
    dbgEMail_->setColumnWidth(
        field,
        dbgEMail_->fontMetrics().averageCharWidth() * kEmailListFields[field].grid_width + 8);
  }
  connect(dbgEMail_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TQVXEList::SortBy);
  // Once the cursor has left an edited row, the row goes to its place; the
  // grid finishes moving the cursor (and opening the next editor) first.
  connect(dbgEMail_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (model_->SetCurrentRow(current.row())) {
              QMetaObject::invokeMethod(this, &TQVXEList::Reread, Qt::QueuedConnection);
            }
          });

  // The label's width changes with the sort field; the box follows it.
  auto* find_row = new QHBoxLayout;
  find_row->setSpacing(4);
  find_row->addWidget(lblFind_);
  find_row->addWidget(eFind_);
  find_row->addStretch(1);
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(find_row);
  layout->addWidget(dbgEMail_, 1);
  setCentralWidget(central);

  QStatusBar* bar = statusBar();
  bar->setObjectName("ListStatusBar");
  pnlCount_ = Named("pnlCount", new QLabel(bar));
  pnlCount_->setMinimumWidth(75);
  pnlFind_ = Named("pnlFind", new QLabel(bar));
  pnlFind_->setMinimumWidth(50);
  bar->addWidget(pnlCount_);
  bar->addWidget(pnlFind_, 1);
}

void TQVXEList::RestoreWindowPlacement() {
  using settings::kEmailListDefaultSize;
  const std::string_view section = settings::kEmailListWindow;
  const int top = settings_.ReadInteger(section, "Top", settings::kNotStored);
  if (top == settings::kNotStored) {
    resize(kDesignedSize);
    CentreOnScreen(*this);
    return;
  }
  move(settings_.ReadInteger(section, "Left", settings::kNotStored), top);
  resize(settings_.ReadInteger(section, "Width", kEmailListDefaultSize),
         settings_.ReadInteger(section, "Height", kEmailListDefaultSize));
}

bool TQVXEList::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Reread();
  return QMainWindow::event(event);
}

void TQVXEList::closeEvent(QCloseEvent* event) {
  CommitEditor();
  // A window closed before it was ever shown (its list failed) has no
  // placement of its own to remember.
  if (isVisible()) {
    const std::string_view section = settings::kEmailListWindow;
    settings_.WriteInteger(section, "Top", y());
    settings_.WriteInteger(section, "Left", x());
    settings_.WriteInteger(section, "Width", width());
    settings_.WriteInteger(section, "Height", height());
  }
  list_.Close();
  event->accept();
}

void TQVXEList::Fail(const std::string& message) {
  list_.Close();
  prompts_.ShowError("The following internal error occurred: " + message);
  close();
}

bool TQVXEList::OpenForSurvey(const std::string& notification_file) {
  const std::string path = EmailListToShow(notification_file, data_dir_);
  return FileExists(path) ? OpenList(path) : CreateList(path);
}

bool TQVXEList::OpenList(const std::string& path) {
  try {
    list_.Open(path);
  } catch (const std::exception& e) {
    Fail(e.what());
    return false;
  }
  AfterOpening();
  return true;
}

bool TQVXEList::CreateList(const std::string& path) {
  bool created = false;
  try {
    created = list_.Create(path);
  } catch (const std::exception& e) {
    Fail(e.what());
    return false;
  }
  AfterOpening();
  return created;
}

void TQVXEList::AfterOpening() {
  model_->Reload();
  RefreshLabels();
  pnlFind_->clear();
  if (model_->rowCount() > 0) MakeCurrent(0);
}

void TQVXEList::RefreshLabels() {
  if (list_.IsOpen()) {
    lblFind_->setText(Q(EmailFindLabel(list_.SortField())));
    setWindowTitle(Q(EmailListCaption(list_.path())));
  }
  model_->headerDataChanged(Qt::Horizontal, 0, kEmailFieldCount - 1);
  RefreshCount();
}

void TQVXEList::RefreshCount() {
  pnlCount_->setText(QString(" %1 records").arg(model_->rowCount()));
}

void TQVXEList::MakeCurrent(int row, int column) {
  if (row < 0 || row >= model_->rowCount()) return;
  if (column < 0) column = std::max(0, dbgEMail_->currentIndex().column());
  const QModelIndex index = model_->index(row, column);
  dbgEMail_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  dbgEMail_->scrollTo(index);
}

// Stores what an open cell editor holds and closes it, as leaving the cell
// would.
void TQVXEList::CommitEditor() {
  const QModelIndex current = dbgEMail_->currentIndex();
  QWidget* editor = current.isValid() ? dbgEMail_->indexWidget(current) : nullptr;
  if (editor == nullptr) return;
  QAbstractItemDelegate* delegate = dbgEMail_->itemDelegateForIndex(current);
  emit delegate->commitData(editor);
  emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// Takes in what this window posted or others changed. When records came or
// went the grid is reloaded, the cursor kept on its record.
void TQVXEList::Reread() {
  if (!list_.IsOpen() || model_->RereadInPlace()) return;
  const QModelIndex current = dbgEMail_->currentIndex();
  const uint32_t recno = current.isValid() ? model_->RecnoAt(current.row()) : 0;
  CommitEditor();
  model_->Reload();
  RefreshCount();
  if (recno != 0) MakeCurrent(model_->RowOf(recno), current.column());
}

void TQVXEList::Announce() {
  if (list_.IsOpen()) EmailListChanges::Instance().Announce(list_.path(), this);
}

std::string TQVXEList::ListDirectory() const {
  return list_.IsOpen() ? QFileInfo(Q(list_.path())).absolutePath().toStdString() : data_dir_;
}

void TQVXEList::NewList() {
  CommitEditor();
  const QString name = dialogs_.ChooseNewList(this, Q(data_dir_));
  if (name.isEmpty()) return;
  CreateList(EnsureHtmlExtension(name.toStdString(), kListExtension));
}

void TQVXEList::OpenListCommand() {
  CommitEditor();
  const QString name = dialogs_.ChooseListToOpen(this, Q(data_dir_));
  if (name.isEmpty()) return;
  if (FileExists(name.toStdString())) {
    OpenList(name.toStdString());
  } else {
    CreateList(EnsureHtmlExtension(name.toStdString(), kListExtension));
  }
}

void TQVXEList::SaveAs() {
  CommitEditor();
  if (!list_.IsOpen()) return;
  const QString name = dialogs_.ChooseSaveAsName(this, Q(list_.path()));
  if (name.isEmpty()) return;
  try {
    if (!list_.SaveAs(EnsureHtmlExtension(name.toStdString(), kListExtension))) return;
  } catch (const std::exception& e) {
    Fail(e.what());
    return;
  }
  AfterOpening();
}

void TQVXEList::Import() {
  CommitEditor();
  if (!list_.IsOpen()) return;
  const QString name = dialogs_.ChooseImportFile(this, Q(ListDirectory()));
  if (name.isEmpty()) return;
  std::optional<EmailImport> imported;
  try {
    imported = ImportEmailCsv(list_, name.toStdString());
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  model_->Reload();
  RefreshLabels();
  Announce();
  if (imported) prompts_.ShowInfo(EmailImportReport(*imported));
}

void TQVXEList::Export() {
  CommitEditor();
  if (!list_.IsOpen()) return;
  const ExportChoice choice = dialogs_.ChooseExportFile(this, Q(ListDirectory()));
  if (choice.path.isEmpty()) return;
  const std::string path =
      EnsureHtmlExtension(choice.path.toStdString(), choice.text ? ".txt" : ".csv");
  try {
    if (choice.text) {
      ExportEmailText(list_, path);
    } else {
      ExportEmailCsv(list_, path);
    }
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
}

void TQVXEList::Print() {
  CommitEditor();
  if (!list_.IsOpen()) return;
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!dialogs_.ChoosePrinter(this, *printer_)) return;
  try {
    if (!PrintReport(*printer_, "Email List Manager", dbgEMail_->font(),
                     [this](PageCanvas& canvas) { PrintEmailList(list_, canvas); })) {
      prompts_.ShowError("The printer could not be started.");
    }
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
}

void TQVXEList::PrintSetup() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  dialogs_.SetUpPrinter(this, *printer_);
}

void TQVXEList::InsertNewRecord() {
  CommitEditor();
  if (!list_.IsOpen()) return;
  uint32_t recno = 0;
  try {
    recno = list_.Append({});
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
    return;
  }
  model_->Reload();
  RefreshCount();
  Announce();
  MakeCurrent(model_->RowOf(recno));
  dbgEMail_->setFocus();
}

void TQVXEList::DeleteSelected() {
  CommitEditor();
  if (!list_.IsOpen() || model_->rowCount() == 0) return;
  std::vector<uint32_t> recnos;
  for (const QModelIndex& index : dbgEMail_->selectionModel()->selectedRows()) {
    recnos.push_back(model_->RecnoAt(index.row()));
  }
  if (recnos.empty()) return;
  const int first = dbgEMail_->selectionModel()->selectedRows().constFirst().row();
  try {
    list_.Delete(recnos);
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  model_->Reload();
  RefreshCount();
  Announce();
  MakeCurrent(std::min(first, model_->rowCount() - 1));
}

void TQVXEList::Find() {
  if (!list_.IsOpen()) return;
  const std::string text = eFind_->text().toStdString();
  std::optional<uint32_t> found;
  try {
    found = list_.Find(text);
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
  if (found) MakeCurrent(model_->RowOf(*found));
  pnlFind_->setText(Q(EmailFindStatus(found.has_value(), list_.SortField(), text)));
  eFind_->selectAll();
}

void TQVXEList::SortBy(int column) {
  CommitEditor();
  if (!list_.IsOpen() || column < 0 || column >= kEmailFieldCount) return;
  const QModelIndex current = dbgEMail_->currentIndex();
  const uint32_t recno = current.isValid() ? model_->RecnoAt(current.row()) : 0;
  list_.SetSortField(column);
  model_->Reload();
  RefreshLabels();
  if (recno != 0) MakeCurrent(model_->RowOf(recno));
}

}  // namespace quorvant::app
