#include "app/libraries/question_library_dialog.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/libraries/library_name_dialog.h"
#include "app/shell/app_paths.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/survey/item_editing.h"
#include "app/survey/question_list_view.h"
#include "app/shell/whats_this.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::app {
TQVXql::TQVXql(SettingsStore& settings, Prompts& prompts, std::string data_dir, TSurvey& survey,
               SurveyEditing& editing, TQVXQuestion& questions, TQVXHeader& headers,
               std::function<void()> rebuild_library_menu, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      prompts_(prompts),
      survey_(survey),
      editing_(editing),
      questions_(questions),
      headers_(headers),
      rebuild_library_menu_(std::move(rebuild_library_menu)),
      libraries_(settings, prompts, std::move(data_dir)) {
  setObjectName("TQVXql");
  setWindowTitle("Question Library");

  cmbLibraryName_ = new QComboBox(this);
  cmbLibraryName_->setObjectName("cmbLibraryName");
  cmbLibraryName_->setMinimumContentsLength(24);
  auto* name_label = new QLabel("&Library Name:", this);
  name_label->setBuddy(cmbLibraryName_);
  btnNewLibrary_ = MakeSideButton("btnNewLibrary", "Create New Library", this);
  btnDeleteLibrary_ = MakeSideButton("btnDeleteLibrary", "Delete Selected Library", this);

  lbQuestions_ = new QListView(this);
  lbQuestions_->setObjectName("lbLibraryQuestions");
  lbQuestions_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lbQuestions_->setUniformItemSizes(false);
  lbQuestions_->setMinimumSize(520, 300);
  model_ = new QuestionListModel(this);
  lbQuestions_->setModel(model_);
  lbQuestions_->setItemDelegate(new QuestionListDelegate(lbQuestions_));

  btnInsert_ = MakeSideButton("btnInsert", "&Insert", this);
  btnInsert_->setDefault(true);
  btnEditItem_ = MakeSideButton("btnEditItem", "&Edit Item", this);
  btnDeleteItem_ = MakeSideButton("btnDeleteItem", "&Delete Item", this);
  QPushButton* help = MakeSideButton("btnHelp", "&Help", this);
  QPushButton* close = MakeSideButton("btnClose", "Close", this);

  auto* top = new QHBoxLayout;
  top->addWidget(name_label);
  top->addWidget(cmbLibraryName_, 1);
  top->addWidget(btnNewLibrary_);
  top->addWidget(btnDeleteLibrary_);
  auto* bottom = new QHBoxLayout;
  for (QPushButton* b : {btnInsert_, btnEditItem_, btnDeleteItem_}) bottom->addWidget(b);
  bottom->addStretch(1);
  bottom->addWidget(help);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lbQuestions_, 1);
  layout->addLayout(bottom);

  connect(cmbLibraryName_, &QComboBox::activated, this, &TQVXql::ChooseLibrary);
  connect(btnNewLibrary_, &QPushButton::clicked, this, &TQVXql::CreateLibrary);
  connect(btnDeleteLibrary_, &QPushButton::clicked, this, &TQVXql::DeleteLibrary);
  connect(btnInsert_, &QPushButton::clicked, this, &TQVXql::InsertItems);
  connect(lbQuestions_, &QListView::doubleClicked, this, &TQVXql::InsertItems);
  connect(btnEditItem_, &QPushButton::clicked, this, &TQVXql::EditItem);
  connect(btnDeleteItem_, &QPushButton::clicked, this, &TQVXql::DeleteItems);
  connect(help, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath("question-library"))); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(lbQuestions_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TQVXql::UpdateButtons);

  resize(560, 420);
  RestorePlacement(*this, settings_, settings::kQuestionLibrary);
  libraries_.Rebuild();
  FillNames();
  const int named = libraries_.OpenLast(ReadLastQuestionLibrary(settings_));
  cmbLibraryName_->setCurrentIndex(named);
  FillItems();
  InstallWhatsThis(this);
}

void TQVXql::FillNames() {
  const QSignalBlocker block(cmbLibraryName_);
  cmbLibraryName_->clear();
  for (const std::string& name : libraries_.Names()) {
    cmbLibraryName_->addItem(QString::fromStdString(name));
  }
  cmbLibraryName_->setCurrentIndex(libraries_.ShownPosition());
}

void TQVXql::FillItems(const std::vector<int>& select) {
  model_->ShowWithoutNumbers(libraries_.Library());
  for (int row : select) {
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid()) continue;
    lbQuestions_->selectionModel()->select(index, QItemSelectionModel::Select);
    lbQuestions_->setCurrentIndex(index);
  }
  UpdateButtons();
}

std::vector<int> TQVXql::SelectedItems() const {
  std::vector<int> rows;
  for (const QModelIndex& index : lbQuestions_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void TQVXql::UpdateButtons() {
  const size_t n = SelectedItems().size();
  btnEditItem_->setEnabled(n == 1);
  btnDeleteItem_->setEnabled(n >= 1);
  btnInsert_->setEnabled(n >= 1);
  btnDeleteLibrary_->setEnabled(!libraries_.Files().empty());
}

void TQVXql::ChooseLibrary(int position) {
  libraries_.Choose(position);
  FillItems();
}

void TQVXql::CreateLibrary() {
  TQVXLibName dialog("New Library", "Please enter a &name for the new library:", this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (libraries_.Create(dialog.Name().toStdString()) < 0) return;
  FillNames();
  FillItems();
  rebuild_library_menu_();
}

void TQVXql::DeleteLibrary() {
  if (!libraries_.DeleteShown()) return;
  FillNames();
  FillItems();
  rebuild_library_menu_();
}

void TQVXql::EditItem() {
  const std::vector<int> selected = SelectedItems();
  if (selected.size() != 1) return;
  const QModelIndex current = lbQuestions_->currentIndex();
  const int row = current.isValid() && lbQuestions_->selectionModel()->isSelected(current)
                      ? current.row()
                      : selected.front();
  const std::optional<ItemFields> fields =
      EditItemFields(libraries_.Library().Item(row), questions_, headers_);
  if (!fields) return;
  libraries_.UpdateItem(row, *fields);
  FillItems({row});
}

void TQVXql::DeleteItems() {
  libraries_.DeleteItems(SelectedItems());
  FillItems();
}

void TQVXql::InsertItems() {
  const std::vector<int> selected = SelectedItems();
  if (selected.empty() || !editing_.ConfirmChangePublished()) return;
  libraries_.AppendTo(survey_, selected);
  accept();
}

void TQVXql::done(int result) {
  RememberPlacement(*this, settings_, settings::kQuestionLibrary);
  if (!libraries_.ShownPath().empty()) {
    settings_.Write(settings::kQuestionLibraryLast, libraries_.ShownPath());
  }
  QDialog::done(result);
}

}  // namespace quorvant::app
