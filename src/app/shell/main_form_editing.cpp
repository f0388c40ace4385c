// TQVXMainForm: the commands of the "Questions" page, the Edit menu and the
// question list's pop-up menu. Each forwards to the core's editing commands
// and redraws.
#include <QClipboard>
#include <QGuiApplication>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

#include "app/shell/main_form.h"
#include "app/survey/header_editor.h"
#include "app/survey/item_editing.h"
#include "app/survey/question_editor.h"
#include "app/survey/question_list_view.h"
#include "app/survey/skip_group_dialog.h"
#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/prompts.h"
#include "core/survey/skip_groups.h"
#include "core/survey/survey_exception.h"
#include "core/webpage/question_text.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The list keeps its scroll position across a rebuild of its lines.
class ScrollKeeper {
 public:
  explicit ScrollKeeper(QListView* list) : list_(list), top_(list->verticalScrollBar()->value()) {
    list_->setUpdatesEnabled(false);
  }
  ~ScrollKeeper() {
    list_->verticalScrollBar()->setValue(top_);
    list_->setUpdatesEnabled(true);
  }

 private:
  QListView* list_;
  int top_;
};

}  // namespace

int TQVXMainForm::FocusedLine() const {
  const QModelIndex current = lbQuestions_->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TQVXMainForm::AfterEdit(const std::vector<int>& select) {
  RebuildQuestionList();
  SelectLines(select);
  RefreshMainWindow();
}

void TQVXMainForm::AddQuestion() {
  if (!editing_.ConfirmChangePublished()) return;
  TQVXQuestion& editor = QuestionEditor();
  editor.Reset();
  if (editor.exec() != QDialog::Accepted) {
    RefreshMainWindow();
    return;
  }
  const int added = editing_.AddItem(editor.Fields(), SelectedLines(), FocusedLine());
  AfterEdit({added});
}

void TQVXMainForm::AddHeader() {
  if (!editing_.ConfirmChangePublished()) return;
  TQVXHeader& editor = HeaderEditor();
  editor.SetText({});
  if (editor.exec() != QDialog::Accepted) {
    RefreshMainWindow();
    return;
  }
  ItemFields header;
  header.text = editor.Text().toStdString();
  header.style = kStyleHeader;
  header.length = 0;
  const int added = editing_.AddItem(header, SelectedLines(), FocusedLine());
  AfterEdit({added});
}

void TQVXMainForm::DeleteSelected() {
  const std::vector<int> selected = SelectedLines();
  if (selected.empty()) return;
  ScrollKeeper keep(lbQuestions_);
  const std::optional<int> focus = editing_.DeleteSelected(selected, FocusedLine());
  if (!focus) return;
  AfterEdit(*focus >= 0 ? std::vector<int>{*focus} : std::vector<int>{});
}

void TQVXMainForm::EditSelected() {
  const int line = FocusedLine();
  if (line < 0 || line >= document_.Survey().ItemCount()) return;
  ScrollKeeper keep(lbQuestions_);
  if (!editing_.ConfirmChangePublished()) return;
  const std::optional<ItemFields> f =
      EditItemFields(document_.Survey().Item(line), QuestionEditor(), HeaderEditor());
  if (!f) return;
  UpdateItemFields(document_.Survey(), line, *f);
  AfterEdit({line});
}

void TQVXMainForm::MoveUp() {
  ScrollKeeper keep(lbQuestions_);
  if (const auto moved = editing_.MoveSelectedUp(SelectedLines())) AfterEdit(*moved);
}

void TQVXMainForm::MoveDown() {
  ScrollKeeper keep(lbQuestions_);
  if (const auto moved = editing_.MoveSelectedDown(SelectedLines())) AfterEdit(*moved);
}

void TQVXMainForm::CopyItems() {
  const std::string text = editing_.CopyItems(SelectedLines(), RenderQuestionText);
  QGuiApplication::clipboard()->setText(Q(text));
  RefreshMainWindow();
}

void TQVXMainForm::CutItems() {
  const std::string text = editing_.CutItems(SelectedLines(), RenderQuestionText);
  QGuiApplication::clipboard()->setText(Q(text));
  AfterEdit({});
}

void TQVXMainForm::PasteItems() { AfterEdit(editing_.PasteItems()); }

void TQVXMainForm::ShowSkipGroupMenu() {
  QMenu* menu =
      AnyHasSkipSetting(document_.Survey(), SelectedLines()) ? pmUngroup_ : pmCreateSkipGroup_;
  menu->popup(btnSkipGroup_->mapToGlobal(btnSkipGroup_->rect().bottomLeft()));
}

void TQVXMainForm::CreateSkipGroup() {
  if (!editing_.ConfirmChangePublished()) return;
  const std::optional<SkipGroupPlan> plan = PlanSkipGroup(SelectedLines());
  if (!plan) return;
  const QAbstractItemModel* model = lbQuestions_->model();
  QStringList members;
  for (int i : plan->members) members << model->index(i, 0).data().toString();
  QStringList responses;
  for (const std::string& line : document_.Survey().Item(plan->head).OptionLines())
    responses << Q(line);
  TQVXSkipGroup dialog(members, model->index(plan->head, 0).data().toString(), responses, this);
  if (dialog.exec() != QDialog::Accepted || dialog.Response() < 0) return;
  quorvant::CreateSkipGroup(document_.Survey(), *plan, dialog.Response());
  AfterEdit(SelectedLines());
}

void TQVXMainForm::UngroupSkipGroup() {
  const std::vector<int> selected = SelectedLines();
  if (editing_.UngroupSelected(selected)) AfterEdit(selected);
}

void TQVXMainForm::FillTemplateMenu() {
  miApplyTemplate_->clear();
  const std::vector<std::string>& files = QuestionEditor().TemplateFiles();
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string title = ReadResponseTemplate(data_dir_ + files[i]).title;
    miApplyTemplate_->addAction(Q(title), this, [this, i] { ApplyTemplate(static_cast<int>(i)); });
  }
}

void TQVXMainForm::ApplyTemplate(int index) {
  const std::string& file = QuestionEditor().TemplateFiles().at(static_cast<size_t>(index));
  const TResponseTemplate t = ReadResponseTemplate(data_dir_ + file);
  const std::vector<int> selected = SelectedLines();
  editing_.ApplyResponseTemplate(selected, t.title, t.values);
  AfterEdit(selected);
}

void TQVXMainForm::RebuildLibraryMenu() {
  library_files_ = ListQuestionLibraries(data_dir_);
  miAddToLibrary_->clear();
  for (size_t i = 0; i < library_files_.size(); ++i) {
    miAddToLibrary_->addAction(Q(QuestionLibraryName(library_files_[i])), this,
                               [this, i] { AddToLibrary(static_cast<int>(i)); });
  }
}

void TQVXMainForm::AddToLibrary(int index) {
  try {
    AppendToQuestionLibrary(library_files_.at(static_cast<size_t>(index)), document_.Survey(),
                            SelectedLines(), settings_);
  } catch (const ESurveyException&) {
    prompts_.ShowError("Error adding questions to library");
  }
  RefreshMainWindow();
}

}  // namespace quorvant::app
