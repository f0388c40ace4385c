// TQVXMainForm: construction, page layout, start-up and shutdown.
#include "app/shell/main_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/analysis/analysis_list_model.h"
#include "app/analysis/analysis_view.h"
#include "app/analysis/chart_toolbox.h"
#include "app/analysis/cross_tab_window.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/directory_chooser.h"
#include "app/shell/whats_this.h"
#include "app/survey/header_editor.h"
#include "app/survey/question_editor.h"
#include "app/survey/question_list_view.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/file_association.h"
#include "core/shell/preferences.h"
#include "core/shell/settings_keys.h"
#include "core/webpage/shipped_templates.h"

namespace quorvant::app {
namespace {

QPushButton* BarButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

QLabel* StatusPanel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

TQVXMainForm::TQVXMainForm(Prompts& prompts, WindowDialogs& dialogs, const QStringList& arguments,
                           QWidget* splash)
    : prompts_(prompts),
      dialogs_(dialogs),
      file_dialogs_(dialogs, *this),
      document_(settings_, prompts_, &file_dialogs_, this),
      clipboard_(settings_),
      editing_(document_.Survey(), clipboard_, prompts_, settings_),
      response_table_(prompts_),
      splash_(splash) {
  setObjectName("TQVXMainForm");
  setAcceptDrops(true);

  pgcMain_ = new QTabWidget(this);
  pgcMain_->setObjectName("pgcMain");
  tsQuestions_ = new QWidget(pgcMain_);
  tsQuestions_->setObjectName("tsQuestions");
  tsAnalysis_ = new QWidget(pgcMain_);
  tsAnalysis_->setObjectName("tsAnalysis");
  pgcMain_->addTab(tsQuestions_, "Questions");
  pgcMain_->addTab(tsAnalysis_, "Analysis");
  setCentralWidget(pgcMain_);
  BuildQuestionsPage(tsQuestions_);
  BuildAnalysisPage(tsAnalysis_);

  pnlModified_ = StatusPanel("pnlModified", this);
  pnlModified_->setMinimumWidth(pnlModified_->fontMetrics().horizontalAdvance(" Modified ") + 8);
  pnlFileName_ = StatusPanel("pnlFileName", this);
  pnlFilter_ = StatusPanel("pnlFilter", this);
  statusBar()->setObjectName("sbStatus");
  statusBar()->addWidget(pnlModified_);
  statusBar()->addWidget(pnlFileName_, 2);
  statusBar()->addWidget(pnlFilter_, 1);

  setupActions();
  ReadStartupSettings();
  RebuildLibraryMenu();
  const std::string shipped = ShippedDataDirectory();
  RegisterFileType(QCoreApplication::applicationFilePath().toStdString(), shipped);
  OpenStartupSurvey(arguments);
  CreateDefaultResponseTemplates(data_dir_);
  if (!shipped.empty()) InstallShippedTemplates(shipped, data_dir_);

  connect(pgcMain_, &QTabWidget::currentChanged, this, &TQVXMainForm::RefreshMainWindow);
  // The lists are filled when the window is first shown; filling them here
  // as well would only be replaced before anyone could see them.
  RefreshMainWindow();
  InstallWhatsThis(this);
}

TQVXMainForm::~TQVXMainForm() = default;

TQVXQuestion& TQVXMainForm::QuestionEditor() {
  if (!question_editor_) {
    question_editor_ = std::make_unique<TQVXQuestion>(settings_, prompts_, data_dir_, this);
  }
  return *question_editor_;
}

TQVXHeader& TQVXMainForm::HeaderEditor() {
  if (!header_editor_) header_editor_ = std::make_unique<TQVXHeader>(settings_, this);
  return *header_editor_;
}

TQVXSelDir& TQVXMainForm::DirectoryChooser() {
  if (!dir_chooser_) dir_chooser_ = std::make_unique<TQVXSelDir>(dialogs_, this);
  return *dir_chooser_;
}

void TQVXMainForm::BuildQuestionsPage(QWidget* page) {
  auto* bar = new QVBoxLayout;
  // The letters of these buttons differ from those of the menu bar (Help,
  // Edit, Options), which share the window with them.
  auto* add_question = BarButton("btnAddQuestion", "Add a &Question...", page);
  auto* add_header = BarButton("btnAddHeader", "Add a Heade&r...", page);
  btnDeleteItems_ = BarButton("btnDeleteItems", "&Delete selected items...", page);
  btnEditItem_ = BarButton("btnEditItem", "Edit selected &item...", page);
  btnSkipGroup_ = new QToolButton(page);
  btnSkipGroup_->setObjectName("btnSkipGroup");
  btnSkipGroup_->setText("Skip &Group");
  btnSkipGroup_->setPopupMode(QToolButton::MenuButtonPopup);
  btnSkipGroup_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  btnMoveUp_ = BarButton("btnMoveUp", "Move &up", page);
  btnMoveDown_ = BarButton("btnMoveDown", "Move do&wn", page);
  btnPreview_ = BarButton("btnPreview", "&Preview as Web Page", page);
  for (QWidget* w : std::initializer_list<QWidget*>{add_question, add_header, btnDeleteItems_,
                                                    btnEditItem_, btnSkipGroup_}) {
    bar->addWidget(w);
  }
  bar->addSpacing(12);
  bar->addWidget(btnMoveUp_);
  bar->addWidget(btnMoveDown_);
  bar->addSpacing(12);
  bar->addWidget(btnPreview_);
  bar->addStretch();
  connect(add_question, &QPushButton::clicked, this, &TQVXMainForm::AddQuestion);
  connect(add_header, &QPushButton::clicked, this, &TQVXMainForm::AddHeader);
  connect(btnDeleteItems_, &QPushButton::clicked, this, &TQVXMainForm::DeleteSelected);
  connect(btnEditItem_, &QPushButton::clicked, this, &TQVXMainForm::EditSelected);
  connect(btnSkipGroup_, &QToolButton::clicked, this, &TQVXMainForm::ShowSkipGroupMenu);
  connect(btnMoveUp_, &QPushButton::clicked, this, &TQVXMainForm::MoveUp);
  connect(btnMoveDown_, &QPushButton::clicked, this, &TQVXMainForm::MoveDown);
  connect(btnPreview_, &QPushButton::clicked, this, &TQVXMainForm::Preview);

  lbQuestions_ = new QListView(page);
  lbQuestions_->setObjectName("lbQuestions");
  lbQuestions_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lbQuestions_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lbQuestions_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Lines span the list's width and elide what does not fit.
  lbQuestions_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lbQuestions_->setContextMenuPolicy(Qt::CustomContextMenu);
  question_model_ = new QuestionListModel(lbQuestions_);
  lbQuestions_->setModel(question_model_);
  lbQuestions_->setItemDelegate(new QuestionListDelegate(lbQuestions_));
  connect(lbQuestions_, &QListView::doubleClicked, this, &TQVXMainForm::EditSelected);
  connect(lbQuestions_, &QListView::clicked, this, &TQVXMainForm::RefreshMainWindow);
  connect(lbQuestions_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TQVXMainForm::RefreshMainWindow);

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(bar);
  layout->addWidget(lbQuestions_, 1);
}

void TQVXMainForm::BuildAnalysisPage(QWidget* page) {
  cmbQuestionList_ = new QComboBox(page);
  cmbQuestionList_->setObjectName("cmbQuestionList");
  cmbQuestionList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbQuestionList_->setMinimumContentsLength(20);
  analysis_model_ = new AnalysisListModel(cmbQuestionList_);
  cmbQuestionList_->setModel(analysis_model_);
  auto* results_label = new QLabel("&Results for Question:", page);
  results_label->setBuddy(cmbQuestionList_);

  auto* status = new QGroupBox("Result Status", page);
  status->setObjectName("gbResultStatus");
  lblLastUpdated_ = new QLabel("Last Updated:", status);
  lblLastUpdated_->setObjectName("lblLastUpdated");
  lblNotifications_ = new QLabel("Notifications:", status);
  lblNotifications_->setObjectName("lblNotifications");
  lblResponsesReceived_ = new QLabel("Responses Received:", status);
  lblResponsesReceived_->setObjectName("lblResponsesReceived");
  btnUpdateNow_ = BarButton("btnUpdateNow", "&Update Now", status);
  auto* status_layout = new QGridLayout(status);
  status_layout->addWidget(lblLastUpdated_, 0, 0);
  status_layout->addWidget(lblNotifications_, 1, 0);
  status_layout->addWidget(lblResponsesReceived_, 2, 0);
  status_layout->addWidget(btnUpdateNow_, 0, 1, 3, 1, Qt::AlignRight | Qt::AlignVCenter);
  status_layout->setColumnStretch(0, 1);

  auto* options = new QGroupBox("Analysis Options", page);
  options->setObjectName("gbAnalysisOptions");
  lblFilter_ = new QLabel("Current Filter: None", options);
  lblFilter_->setObjectName("lblFilter");
  lblFilter_->setTextFormat(Qt::PlainText);
  btnSetFilter_ = BarButton("btnSetFilter", "Set F&ilter Options...", options);
  btnChartToolbox_ = BarButton("btnChartToolbox", "&Chart Toolbox...", options);
  btnExportChart_ = BarButton("btnExportChart", "E&xport to", options);
  btnCrossTab_ = BarButton("btnCrossTab", "Cross &Tabulation...", options);
  auto* options_layout = new QGridLayout(options);
  options_layout->addWidget(lblFilter_, 0, 0, 1, 2);
  options_layout->addWidget(btnSetFilter_, 1, 0);
  options_layout->addWidget(btnChartToolbox_, 1, 1);
  options_layout->addWidget(btnExportChart_, 2, 0);
  options_layout->addWidget(btnCrossTab_, 2, 1);
  connect(btnUpdateNow_, &QPushButton::clicked, this, &TQVXMainForm::UpdateNow);
  connect(btnSetFilter_, &QPushButton::clicked, this, &TQVXMainForm::SetFilterOptions);
  connect(btnChartToolbox_, &QPushButton::clicked, this, &TQVXMainForm::ToggleChartToolbox);
  connect(btnExportChart_, &QPushButton::clicked, this, &TQVXMainForm::ShowExportMenu);
  connect(btnCrossTab_, &QPushButton::clicked, this, &TQVXMainForm::ShowCrossTabulation);

  analysis_view_ = new TAnalysisView(document_.Survey(), response_table_, page);
  connect(cmbQuestionList_, &QComboBox::currentIndexChanged, this,
          &TQVXMainForm::ShowChosenQuestion);
  connect(analysis_view_, &TAnalysisView::ViewChanged, this, &TQVXMainForm::RefreshAnalysisStates);

  auto* top = new QHBoxLayout;
  top->addWidget(results_label);
  top->addWidget(cmbQuestionList_, 1);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(status, 1);
  boxes->addWidget(options, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addLayout(boxes);
  layout->addWidget(analysis_view_, 1);
}

void TQVXMainForm::ReadStartupSettings() {
  using namespace settings;
  if (settings_.Read(kWindowTop) != kNotStored) {
    move(settings_.Read(kWindowLeft), settings_.Read(kWindowTop));
    resize(settings_.Read(kWindowWidth), settings_.Read(kWindowHeight));
    if (settings_.Read(kWindowMaximized)) setWindowState(Qt::WindowMaximized);
  } else {
    setGeometry(10, 10, 600, 450);
    CentreOnScreen(*this);
  }
  document_.ReadSettings(settings_);
  data_dir_ = ReadDataDirectory(settings_);
  std::error_code ignored;
  std::filesystem::create_directories(data_dir_, ignored);
  html_ext_ = HtmlExtensionFor(settings_.Read(kDefaultHTML));
  chart_background_ = {settings_.Read(kUseSolidBackground), settings_.Read(kSolidBackgroundColor),
                       settings_.Read(kFromColor), settings_.Read(kToColor),
                       settings_.Read(kGradientDirection)};
  analysis_view_->SetBackground(chart_background_);
}

void TQVXMainForm::OpenStartupSurvey(const QStringList& arguments) {
  std::string path;
  if (!arguments.isEmpty()) {
    // An absolute name, so that the file is found again from any folder.
    path = QFileInfo(arguments.front()).absoluteFilePath().toStdString();
  } else if (settings_.Read(settings::kAutoReopen)) {
    path = settings_.Read(settings::kLastOpenFile);
  }
  if (!path.empty() && FileExists(path)) document_.Load(path);
}

void TQVXMainForm::WriteShutdownSettings() {
  using namespace settings;
  if (windowState() == Qt::WindowNoState) {
    settings_.Write(kWindowTop, y());
    settings_.Write(kWindowLeft, x());
    settings_.Write(kWindowWidth, width());
    settings_.Write(kWindowHeight, height());
  }
  settings_.Write(kWindowMaximized, isMaximized());
  settings_.Write(kLastDirSavedTo, document_.LastDirectory());
  settings_.Write(kDataDirectory, data_dir_);
  settings_.Write(kLastOpenFile, document_.Survey().FileName());
  settings_.Write(kUseSolidBackground, chart_background_.use_solid);
  settings_.Write(kSolidBackgroundColor, chart_background_.solid_color);
  settings_.Write(kFromColor, chart_background_.from_color);
  settings_.Write(kToColor, chart_background_.to_color);
  settings_.Write(kGradientDirection, chart_background_.gradient_direction);
  document_.WriteRecentFiles(settings_);
}

void TQVXMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  // Deleted at once: a deletion queued here, before the program's event
  // loop runs, would wait for that loop to return and leave the splash on
  // the screen for the whole run.
  delete splash_.data();
  pgcMain_->setCurrentWidget(tsQuestions_);
  RebuildQuestionList();
  RefreshMainWindow();
}

void TQVXMainForm::closeEvent(QCloseEvent* event) {
  if (!document_.QuerySave()) {
    RefreshMainWindow();
    event->ignore();
    return;
  }
  WriteShutdownSettings();
  document_.RemoveTemporaryFiles();
  event->accept();
}

void TQVXMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TQVXMainForm::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  document_.Open(urls.front().toLocalFile().toStdString());
  RefreshMainWindow();
}

}  // namespace quorvant::app
