// TQVXMainForm: the main window. It owns the survey document (the open
// survey, its file, the recent-file list and the temporary files of the run)
// and the clipboard survey, shows the items on the "Questions" page and the results on the
// "Analysis" page, and carries every command as a menu item, toolbar button or pop-up menu item.
// The work itself is done by the core (editing commands, the survey document); the window displays
// and forwards.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis/chart_settings.h"
#include "app/shell/action_registry.h"
#include "app/shell/survey_file_dialogs.h"
#include "core/responses/response_table.h"
#include "core/shell/settings_store.h"
#include "core/survey/command_states.h"
#include "core/survey/editing_commands.h"
#include "core/survey/survey.h"
#include "core/survey/survey_document.h"

class QAction;
class QImage;
class QComboBox;
class QLabel;
class QListView;
class QMenu;
class QPrinter;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace quorvant::app {

class AnalysisListModel;
class TAnalysisView;
class TQVXChartTool;
class TQVXCrossTab;
class QuestionListModel;
class TQVXHeader;
class TQVXQuestion;
class TQVXSelDir;
class WindowDialogs;

class TQVXMainForm : public QMainWindow, private SurveyDocumentView {
  Q_OBJECT

 public:
  // Runs the window's part of start-up: settings, surveys, placement,
  // directories, recent files, file association, the survey named by
  // `arguments` (or the last one with "AutoReopen"), the default response
  // templates, and the long-lived editors. `splash` is freed when the
  // window is first shown.
  TQVXMainForm(Prompts& prompts, WindowDialogs& dialogs, const QStringList& arguments,
               QWidget* splash = nullptr);
  ~TQVXMainForm() override;

  // ---- Operations shared with other windows ----
  void RebuildQuestionList();
  void RefreshMainWindow();
  void RebuildLibraryMenu();

  SurveyDocument& Document() { return document_; }
  const TSurvey& ClipboardSurvey() const { return clipboard_; }
  const std::string& DataDirectory() const { return data_dir_; }
  const std::string& DefaultHtmlExtension() const { return html_ext_; }
  // The long-lived dialogs, each created on its first use and kept, with its
  // values and placement, until the program ends.
  TQVXQuestion& QuestionEditor();
  TQVXHeader& HeaderEditor();
  TQVXSelDir& DirectoryChooser();
  // The chart toolbox, made on its first use and kept until the program ends.
  TQVXChartTool& ChartToolbox();
  // The "Cross Tabulation" window, made on its first use and kept.
  TQVXCrossTab& CrossTabulation();
  TAnalysisView& AnalysisView() { return *analysis_view_; }
  const ChartBackground& Background() const { return chart_background_; }
  // The selected list lines, increasing.
  std::vector<int> SelectedLines() const;
  void SelectLines(const std::vector<int>& lines);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // main_form.cpp: layout and start-up
  void BuildQuestionsPage(QWidget* page);
  void BuildAnalysisPage(QWidget* page);
  void ReadStartupSettings();
  void OpenStartupSurvey(const QStringList& arguments);
  void WriteShutdownSettings();
  // main_form_actions.cpp
  void setupActions();
  QAction* MakeAction(const char* name, const QString& text, void (TQVXMainForm::*slot)());
  void ShowProperties();
  void ShowPreferences();
  void ShowEmailLists();
  void ShowPublish();
  void ClearResultsFromServer();
  void CheckForUpdates();
  void ShowTechSupport();
  void ShowWhatsThis();
  void OpenHelp(const QString& page);
  void ShowAbout();
  // main_form_files.cpp
  void FileNew();
  void FileOpen();
  void FileSave();
  void FileSaveAs();
  void FileReopen(int index);
  void Preview();
  // What the window shows when the document replaces the survey.
  void SurveyCleared() override;
  void SurveyReplaced() override;
  // main_form_editing.cpp
  int FocusedLine() const;
  void AddQuestion();
  void AddHeader();
  void DeleteSelected();
  void EditSelected();
  void MoveUp();
  void MoveDown();
  void CutItems();
  void CopyItems();
  void PasteItems();
  void ShowSkipGroupMenu();
  void CreateSkipGroup();
  void UngroupSkipGroup();
  void FillTemplateMenu();
  void ApplyTemplate(int index);
  void AddToLibrary(int index);
  // main_form_libraries.cpp
  void ShowQuestionLibrary();
  void ShowTemplateManager();
  void ImportQuestions();
  void AfterEdit(const std::vector<int>& select);
  // main_form_refresh.cpp
  void ApplyCommandStates(const CommandStates& states);
  void RefreshReopenMenu();
  void RefreshResultStatus();
  // main_form_responses.cpp: the open survey's response table follows the
  // document.
  void SurveyLoaded() override;
  void SurveyClosing() override;
  void UpdateNow();
  void ResetResponses();
  // main_form_analysis.cpp
  void SetFilterOptions();
  void ShowChosenQuestion();
  void ToggleChartToolbox();
  void ShowCrossTabulation();
  void RefreshAnalysisStates();
  // main_form_report.cpp
  // Print on the Analysis page: the report's destination, then the
  // printer or the web pages.
  void ChooseReportDestination();
  void WriteAnalysisPages(bool selected_only);
  // main_form_response_export.cpp
  void ExportResponseTable();
  // main_form_export.cpp
  void BuildExportMenu();
  void ShowExportMenu();
  QImage ChartImage() const;
  std::vector<std::string> CurrentAnswers();
  void CopyChartBitmap();
  void CopyChartMetafile();
  void CopyChartText();
  void OpenInOffice(int kind, const std::string& document, const char* missing);
  void ExportToPresentation();
  void ExportToWordProcessor();
  // main_form_printing.cpp
  QPrinter& Printer();
  void Print();
  void PrintSetup();
  // The analysis on the printer the print dialog chooses ("Selection": the
  // chosen question alone); the Analysis page's "To the printer".
  void PrintAnalysisToPrinter();

  SettingsStore settings_;
  Prompts& prompts_;
  WindowDialogs& dialogs_;
  WindowSurveyFileDialogs file_dialogs_;
  SurveyDocument document_;
  TSurvey clipboard_;
  SurveyEditing editing_;
  TResponseTable response_table_;  // the open survey's response table
  std::vector<std::string> library_files_;
  std::string data_dir_;
  std::string html_ext_ = ".htm";
  // The directory last entered in "Report Destination", for this run.
  QString report_directory_;
  ChartBackground chart_background_;
  QPointer<QWidget> splash_;
  bool shown_once_ = false;

  // Long-lived dialogs, created on first use (building them cost start-up a
  // noticeable time) and reused.
  std::unique_ptr<TQVXQuestion> question_editor_;
  std::unique_ptr<TQVXHeader> header_editor_;
  std::unique_ptr<TQVXSelDir> dir_chooser_;
  std::unique_ptr<TQVXChartTool> chart_tool_;
  std::unique_ptr<TQVXCrossTab> cross_tab_;
  std::unique_ptr<QPrinter> printer_;

  ActionRegistry actions_{this};
  QTabWidget* pgcMain_ = nullptr;
  QWidget* tsQuestions_ = nullptr;
  QWidget* tsAnalysis_ = nullptr;
  QListView* lbQuestions_ = nullptr;
  QuestionListModel* question_model_ = nullptr;
  QPushButton* btnEditItem_ = nullptr;
  QPushButton* btnDeleteItems_ = nullptr;
  QPushButton* btnMoveUp_ = nullptr;
  QPushButton* btnMoveDown_ = nullptr;
  QPushButton* btnPreview_ = nullptr;
  QToolButton* btnSkipGroup_ = nullptr;
  QMenu* pmCreateSkipGroup_ = nullptr;
  QMenu* pmUngroup_ = nullptr;
  QMenu* pmQuestions_ = nullptr;
  QMenu* miAddToLibrary_ = nullptr;
  QMenu* miApplyTemplate_ = nullptr;
  QMenu* miFileReopen_ = nullptr;
  QComboBox* cmbQuestionList_ = nullptr;
  AnalysisListModel* analysis_model_ = nullptr;
  TAnalysisView* analysis_view_ = nullptr;
  QLabel* lblLastUpdated_ = nullptr;
  QLabel* lblNotifications_ = nullptr;
  QLabel* lblResponsesReceived_ = nullptr;
  QLabel* lblFilter_ = nullptr;
  QPushButton* btnUpdateNow_ = nullptr;
  QPushButton* btnSetFilter_ = nullptr;
  QPushButton* btnChartToolbox_ = nullptr;
  QPushButton* btnCrossTab_ = nullptr;
  QPushButton* btnExportChart_ = nullptr;
  QMenu* pmExportChart_ = nullptr;
  QLabel* pnlModified_ = nullptr;
  QLabel* pnlFileName_ = nullptr;
  QLabel* pnlFilter_ = nullptr;
};

}  // namespace quorvant::app
