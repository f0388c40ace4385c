// TQVXMainForm::setupActions: every command of the main window, created in
// one place with the object name of its control.
#include <QAction>
#include <QDesktopServices>
#include <QIcon>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWhatsThis>

#include "app/emaillists/email_list_launch.h"
#include "app/shell/about_box.h"
#include "app/shell/app_paths.h"
#include "app/shell/bundled_icon.h"
#include "app/shell/main_form.h"
#include "app/shell/window_dialogs.h"
#include "core/shell/prompts.h"

namespace quorvant::app {

QAction* TQVXMainForm::MakeAction(const char* name, const QString& text,
                                  void (TQVXMainForm::*slot)()) {
  return actions_.Make(name, text, this, slot);
}

// Each command opens a manager of its own, which frees itself when closed.
void TQVXMainForm::ShowEmailLists() {
  ShowEmailListManager(this, settings_, prompts_, dialogs_.EmailLists(), data_dir_,
                       document_.Survey().NotificationFile());
}

void TQVXMainForm::OpenHelp(const QString& page) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath(page)));
}

void TQVXMainForm::ShowAbout() {
  TQVXAbout about(this, false);
  about.exec();
}

// "&What's This?" explains the control the pop-up menu was opened on.
void TQVXMainForm::ShowWhatsThis() {
  QWidget* target = lbQuestions_;
  QWhatsThis::showText(target->mapToGlobal(target->rect().center()), target->whatsThis(), target);
}

void TQVXMainForm::setupActions() {
  using F = TQVXMainForm;
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("miFile");
  file->addAction(MakeAction("miFileNew", "&New", &F::FileNew));
  actions_.Get("miFileNew")->setShortcut(QKeySequence("Ctrl+N"));
  file->addAction(MakeAction("miFileOpen", "&Open...", &F::FileOpen));
  actions_.Get("miFileOpen")->setShortcut(QKeySequence("Ctrl+O"));
  miFileReopen_ = file->addMenu("&Reopen");
  miFileReopen_->setObjectName("miFileReopen");
  file->addSeparator();
  file->addAction(MakeAction("miFileImport", "&Import Questions...", &F::ImportQuestions));
  file->addAction(MakeAction("miFileExport", "&Export Responses...", &F::ExportResponseTable));
  file->addSeparator();
  file->addAction(MakeAction("miFileSave", "&Save", &F::FileSave));
  actions_.Get("miFileSave")->setShortcut(QKeySequence("Ctrl+S"));
  file->addAction(MakeAction("miFileSaveAs", "Save &As...", &F::FileSaveAs));
  file->addSeparator();
  file->addAction(MakeAction("miFilePrint", "&Print Questions...", &F::Print));
  actions_.Get("miFilePrint")->setShortcut(QKeySequence("Ctrl+P"));
  file->addAction(MakeAction("miFilePrintSetup", "Prin&t Setup...", &F::PrintSetup));
  file->addSeparator();
  file->addAction(MakeAction("miFileExit", "E&xit", nullptr));
  connect(actions_.Get("miFileExit"), &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("miEdit");
  edit->addAction(MakeAction("miEditCut", "Cu&t", &F::CutItems));
  actions_.Get("miEditCut")->setShortcut(QKeySequence("Ctrl+X"));
  edit->addAction(MakeAction("miEditCopy", "&Copy", &F::CopyItems));
  actions_.Get("miEditCopy")->setShortcut(QKeySequence("Ctrl+C"));
  edit->addAction(MakeAction("miEditPaste", "&Paste", &F::PasteItems));
  actions_.Get("miEditPaste")->setShortcut(QKeySequence("Ctrl+V"));

  QMenu* options = menuBar()->addMenu("&Options");
  options->setObjectName("miOptions");
  options->addAction(MakeAction("miOptionsPreferences", "&Preferences...", &F::ShowPreferences));
  options->addAction(
      MakeAction("miOptionsTemplateManager", "&Template Manager...", &F::ShowTemplateManager));

  QMenu* survey = menuBar()->addMenu("&Survey");
  survey->setObjectName("miSurvey");
  survey->addAction(MakeAction("miSurveyProperties", "&Properties...", &F::ShowProperties));
  survey->addAction(MakeAction("miSurveyLibrary", "&Question Library...", &F::ShowQuestionLibrary));
  survey->addAction(MakeAction("miSurveyEmailList", "&Email List Manager", &F::ShowEmailLists));
  survey->addAction(MakeAction("miSurveyPublish", "Publish &Survey...", &F::ShowPublish));
  survey->addSeparator();
  survey->addAction(
      MakeAction("miSurveyResetResponses", "&Reset Local Responses", &F::ResetResponses));
  survey->addAction(MakeAction("miSurveyClearResults", "&Clear Results From Server...",
                               &F::ClearResultsFromServer));

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("miHelp");
  help->addAction(
      MakeAction("miHelpGettingStarted", "&Getting Started - Your First Survey", nullptr));
  connect(actions_.Get("miHelpGettingStarted"), &QAction::triggered, this,
          [this] { OpenHelp("getting-started"); });
  help->addAction(MakeAction("miHelpContents", "&Contents", nullptr));
  connect(actions_.Get("miHelpContents"), &QAction::triggered, this,
          [this] { OpenHelp("contents"); });
  help->addAction(MakeAction("miHelpSearch", "&Search for Help On...", nullptr));
  connect(actions_.Get("miHelpSearch"), &QAction::triggered, this, [this] { OpenHelp("index"); });
  help->addAction(MakeAction("miHelpHowToUse", "&How to Use Help", nullptr));
  connect(actions_.Get("miHelpHowToUse"), &QAction::triggered, this,
          [this] { OpenHelp("using-help"); });
  help->addSeparator();
  help->addAction(MakeAction("miHelpSupport", "&Technical Support...", &F::ShowTechSupport));
  help->addAction(MakeAction("miHelpCheckUpdates", "Check for &Updates...", &F::CheckForUpdates));
  help->addSeparator();
  help->addAction(MakeAction("miHelpAbout", "&About...", &F::ShowAbout));

  // The toolbar's buttons run the same commands as the menu items; they are
  // actions of their own because their hints differ from the menu captions.
  QToolBar* tools = addToolBar("Toolbar");
  tools->setObjectName("tbMain");
  tools->setMovable(false);
  tools->setIconSize(QSize(24, 24));
  struct Tool {
    const char* name;
    const char* hint;
    const char* theme;
    const char* bundled;
    void (TQVXMainForm::*slot)();
  };
  const Tool buttons[] = {
      {"tbNew", "New", "document-new", "new", &F::FileNew},
      {"tbOpen", "Open", "document-open", "open", &F::FileOpen},
      {"tbSave", "Save", "document-save", "save", &F::FileSave},
      {"tbPrint", "Print Questions", "document-print", "print", &F::Print},
      {"tbPreview", "Preview as Web Page", "document-print-preview", "preview", &F::Preview},
      {"tbCut", "Cut", "edit-cut", "cut", &F::CutItems},
      {"tbCopy", "Copy", "edit-copy", "copy", &F::CopyItems},
      {"tbPaste", "Paste", "edit-paste", "paste", &F::PasteItems},
      {"tbProperties", "Survey Properties", "document-properties", "properties",
       &F::ShowProperties},
      {"tbLibrary", "Question Library", "accessories-dictionary", "library",
       &F::ShowQuestionLibrary},
      {"tbEMailList", "E-Mail List Manager", "x-office-address-book", "email", &F::ShowEmailLists},
      {"tbPublishSurvey", "Publish Survey", "network-server", "publish", &F::ShowPublish},
  };
  for (const Tool& t : buttons) {
    QAction* action = MakeAction(t.name, t.hint, t.slot);
    action->setIcon(ThemeIcon(t.theme, t.bundled));
    tools->addAction(action);
    if (t.name == std::string_view("tbPaste") || t.name == std::string_view("tbPreview")) {
      tools->addSeparator();
    }
  }

  // The question list's own keys and pop-up menu.
  QAction* insert = MakeAction("actInsertQuestion", "Add a &Question...", &F::AddQuestion);
  insert->setShortcut(QKeySequence(Qt::Key_Insert));
  insert->setShortcutContext(Qt::WidgetShortcut);
  QAction* remove = MakeAction("actDeleteItems", "&Delete selected items...", &F::DeleteSelected);
  remove->setShortcut(QKeySequence(Qt::Key_Delete));
  remove->setShortcutContext(Qt::WidgetShortcut);
  lbQuestions_->addActions({insert, remove});

  pmQuestions_ = new QMenu(this);
  pmQuestions_->setObjectName("pmQuestions");
  miAddToLibrary_ = pmQuestions_->addMenu("&Add to Question Library");
  miAddToLibrary_->setObjectName("miAddToLibrary");
  pmQuestions_->addAction(MakeAction("miDeleteItem", "&Delete Item", &F::DeleteSelected));
  pmQuestions_->addAction(MakeAction("miEditItem", "&Edit Item", &F::EditSelected));
  miApplyTemplate_ = pmQuestions_->addMenu("Apply &Response Template");
  miApplyTemplate_->setObjectName("miApplyTemplate");
  pmQuestions_->addSeparator();
  pmQuestions_->addAction(MakeAction("miWhatsThis", "&What's This?", &F::ShowWhatsThis));
  connect(pmQuestions_, &QMenu::aboutToShow, this, &TQVXMainForm::FillTemplateMenu);
  connect(lbQuestions_, &QListView::customContextMenuRequested, this,
          [this](const QPoint& pos) { pmQuestions_->popup(lbQuestions_->mapToGlobal(pos)); });

  pmCreateSkipGroup_ = new QMenu(this);
  pmCreateSkipGroup_->setObjectName("pmCreateSkipGroup");
  pmCreateSkipGroup_->addAction(
      MakeAction("miCreateSkipGroup", "&Create Skip Group...", &F::CreateSkipGroup));
  pmUngroup_ = new QMenu(this);
  pmUngroup_->setObjectName("pmUngroup");
  pmUngroup_->addAction(MakeAction("miUngroup", "Ungroup...", &F::UngroupSkipGroup));
  btnSkipGroup_->setMenu(pmCreateSkipGroup_);
}

}  // namespace quorvant::app
