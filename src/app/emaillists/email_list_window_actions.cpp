// TQVXEList::setupActions: the window's menu (ListMenu) and toolbar
// (tbList), each command with the object name of its control.
#include <QAction>
#include <QDesktopServices>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QUrl>

#include "app/emaillists/email_list_whats_this.h"
#include "app/emaillists/email_list_window.h"
#include "app/shell/app_paths.h"
#include "app/shell/bundled_icon.h"
#include "app/shell/whats_this.h"

namespace quorvant::app {

QAction* TQVXEList::MakeAction(const char* name, const QString& text, const QString& hint,
                               void (TQVXEList::*slot)()) {
  QAction* action = actions_.Make(name, text, this, slot);
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

void TQVXEList::OpenHelp(const QString& page) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath(page)));
}

void TQVXEList::setupActions() {
  using W = TQVXEList;
  menuBar()->setObjectName("ListMenu");
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("miFile");
  file->addAction(MakeAction("miFileNew", "&New", "Create a new list", &W::NewList));
  actions_.Get("miFileNew")->setShortcut(QKeySequence("Ctrl+N"));
  file->addAction(
      MakeAction("miFileOpen", "&Open...", "Open an existing list", &W::OpenListCommand));
  actions_.Get("miFileOpen")->setShortcut(QKeySequence("Ctrl+O"));
  file->addSeparator();
  file->addAction(MakeAction("miFileImport", "&Import...", "Import a list", &W::Import));
  file->addAction(MakeAction("miFileExport", "&Export...", "Export a list", &W::Export));
  file->addAction(MakeAction("miFileSaveAs", "Save &As...",
                             "Save the current list using a different name / format", &W::SaveAs));
  file->addSeparator();
  file->addAction(MakeAction("miFilePrint", "&Print...", "Print the current list", &W::Print));
  actions_.Get("miFilePrint")->setShortcut(QKeySequence("Ctrl+P"));
  file->addAction(
      MakeAction("miFilePrintSetup", "Prin&t Setup...", "Set up the printer", &W::PrintSetup));
  file->addSeparator();
  file->addAction(MakeAction("miFileClose", "&Close", "Close the Email List Manager", nullptr));
  connect(actions_.Get("miFileClose"), &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("miEdit");
  QAction* insert = MakeAction("miInsertNewRecord", "Insert New Record", "", &W::InsertNewRecord);
  insert->setShortcut(QKeySequence(Qt::Key_Insert));
  edit->addAction(insert);
  // Delete belongs to the grid: in the find box it deletes characters.
  QAction* remove = MakeAction("miEditDelete", "&Delete Selected", "", &W::DeleteSelected);
  remove->setShortcut(QKeySequence(Qt::Key_Delete));
  remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  dbgEMail_->addAction(remove);
  edit->addAction(remove);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("miHelp");
  help->addAction(MakeAction("miHelpContents", "&Contents", "", nullptr));
  connect(actions_.Get("miHelpContents"), &QAction::triggered, this,
          [this] { OpenHelp("email-list-manager"); });
  help->addAction(MakeAction("miHelpSearch", "&Search for Help On...", "", nullptr));
  connect(actions_.Get("miHelpSearch"), &QAction::triggered, this, [this] { OpenHelp("index"); });

  QToolBar* tools = addToolBar("List");
  tools->setObjectName("tbList");
  tools->setMovable(false);
  tools->setIconSize(QSize(24, 24));
  struct Tool {
    const char* name;
    const char* caption;
    const char* hint;
    const char* theme;
    const char* bundled;
    void (TQVXEList::*slot)();
  };
  const Tool buttons[] = {
      {"tbNew", "&New", "Create a new list", "document-new", "new", &W::NewList},
      {"tbOpen", "&Open...", "Open an existing list", "document-open", "open", &W::OpenListCommand},
      {"tbPrint", "&Print...", "Print the current list", "document-print", "print", &W::Print},
  };
  for (const Tool& t : buttons) {
    QAction* action = MakeAction(t.name, t.caption, t.hint, t.slot);
    action->setIcon(ThemeIcon(t.theme, t.bundled));
    tools->addAction(action);
  }
  InstallWhatsThis(this, EmailListWhatsThis);
}

}  // namespace quorvant::app
