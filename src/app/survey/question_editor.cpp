#include "app/survey/question_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/libraries/response_template_editor.h"
#include "app/shell/dialog_buttons.h"
#include "app/shell/dialog_placement.h"
#include "app/shell/whats_this.h"
#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/profile_file.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/survey/comma_text.h"
#include "core/survey/numeric_grouping.h"
#include "core/survey/question.h"

namespace quorvant::app {
namespace {

enum Page { kResponsesPage, kTextPage, kNumericPage };
constexpr int kTextStyleIndex = 3;
constexpr int kNumericStyleIndex = 5;

Page PageForStyle(int index) {
  if (index == kTextStyleIndex) return kTextPage;
  return index == kNumericStyleIndex ? kNumericPage : kResponsesPage;
}

QLabel* Note(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setEnabled(false);
  return label;
}

}  // namespace

TQVXQuestion::TQVXQuestion(SettingsStore& settings, Prompts& prompts, std::string data_dir,
                           QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts), data_dir_(std::move(data_dir)) {
  setObjectName("TQVXQuestion");
  setWindowTitle("Question Details");

  memQuestion_ = new QPlainTextEdit(this);
  memQuestion_->setObjectName("memQuestion");
  memQuestion_->setTabChangesFocus(true);
  memQuestion_->setFixedHeight(memQuestion_->fontMetrics().lineSpacing() * 4 + 12);
  auto* text_label = new QLabel("Question &Text:", this);
  text_label->setBuddy(memQuestion_);

  cmbStyle_ = new QComboBox(this);
  cmbStyle_->setObjectName("cmbStyle");
  cmbStyle_->addItems({"Single Select", "Multiple Select", "Sliding Scale", "Free Form Text",
                       "Pull Down List", "Numeric Value"});
  auto* style_label = new QLabel("Question &Style:", this);
  style_label->setBuddy(cmbStyle_);
  cbRequired_ = new QCheckBox("Answer re&quired", this);
  cbRequired_->setObjectName("cbRequired");

  nbPages_ = new QStackedWidget(this);
  nbPages_->setObjectName("nbPages");
  nbPages_->addWidget(BuildResponsesPage());
  nbPages_->addWidget(BuildTextPage());
  nbPages_->addWidget(BuildNumericPage());
  connect(cmbStyle_, &QComboBox::currentIndexChanged, this, &TQVXQuestion::StyleChanged);

  QDialogButtonBox* buttons = MakeOkCancelButtons(*this, "OK");
  AddHelpButton(*buttons, "question-editor");

  auto* style_row = new QHBoxLayout;
  style_row->addWidget(style_label);
  style_row->addWidget(cmbStyle_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_label);
  layout->addWidget(memQuestion_);
  layout->addLayout(style_row);
  layout->addWidget(cbRequired_);
  layout->addWidget(nbPages_, 1);
  layout->addWidget(buttons);

  eLength_->setText("40");
  rbLimit_->setChecked(true);
  eMinimum_->setText("1");
  eMaximum_->setText("10");
  eStep_->setText("10");
  ShowGroups(1);
  RebuildTemplates();
  resize(460, 420);
  RestorePlacement(*this, settings_, settings::kQuestionWindow);
  InstallWhatsThis(this);
}

QWidget* TQVXQuestion::BuildResponsesPage() {
  auto* page = new QWidget(this);
  page->setObjectName("pgResponses");
  memResponses_ = new QPlainTextEdit(page);
  memResponses_->setObjectName("memResponses");
  memResponses_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A tab typed here would end up inside the option.
  memResponses_->setTabChangesFocus(true);
  auto* label = new QLabel("&Responses:", page);
  label->setBuddy(memResponses_);
  cbIncludeOther_ = new QCheckBox("&Include \"Other - please specify\" text response", page);
  cbIncludeOther_->setObjectName("cbIncludeOther");

  auto* options = new QPushButton("Optio&ns", page);
  options->setObjectName("btnOptions");
  auto* menu = new QMenu(options);
  menu->setObjectName("pmOptions");
  miInsertFromTemplate_ = menu->addMenu("Insert from Template");
  miInsertFromTemplate_->setObjectName("miInsertFromTemplate");
  menu->addAction("Clear All", this, [this] { memResponses_->clear(); })
      ->setObjectName("miClearAll");
  menu->addAction("Save to Template", this, &TQVXQuestion::SaveToTemplate)
      ->setObjectName("miSaveToTemplate");
  options->setMenu(menu);

  auto* row = new QHBoxLayout;
  row->addWidget(cbIncludeOther_, 1);
  row->addWidget(options);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 6, 0, 0);
  layout->addWidget(label);
  layout->addWidget(memResponses_, 1);
  layout->addLayout(row);
  return page;
}

QWidget* TQVXQuestion::BuildTextPage() {
  auto* page = new QWidget(this);
  page->setObjectName("pgText");
  rbLimit_ = new QRadioButton("&Limit to ", page);
  rbLimit_->setObjectName("rbLimit");
  eLength_ = DigitField("eLength", 3);
  eLength_->setParent(page);
  rbVerbose_ = new QRadioButton("&Verbose text response", page);
  rbVerbose_->setObjectName("rbVerbose");

  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 12, 0, 0);
  auto* limit_row = new QHBoxLayout;
  limit_row->addWidget(rbLimit_);
  limit_row->addWidget(eLength_);
  limit_row->addWidget(new QLabel("characters", page));
  limit_row->addStretch();
  grid->addLayout(limit_row, 0, 0);
  grid->addWidget(Note("(generates INPUT boxes)", page), 0, 1);
  grid->addWidget(rbVerbose_, 1, 0);
  grid->addWidget(Note("(generates TEXTAREA boxes)", page), 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* TQVXQuestion::BuildNumericPage() {
  auto* page = new QWidget(this);
  page->setObjectName("pgNumeric");
  auto* box = new QGroupBox("Range of values:", page);
  eMinimum_ = DigitField("eMinimum", 5);
  eMaximum_ = DigitField("eMaximum", 5);
  eStep_ = DigitField("eStep", 5);
  lblGroups_ = new QLabel(box);
  lblGroups_->setObjectName("lblGroups");
  connect(eMinimum_, &QLineEdit::textEdited, this, &TQVXQuestion::RangeEdited);
  connect(eMaximum_, &QLineEdit::textEdited, this, &TQVXQuestion::RangeEdited);
  connect(eStep_, &QLineEdit::textEdited, this, &TQVXQuestion::StepEdited);

  auto* form = new QFormLayout(box);
  form->addRow("M&inimum:", eMinimum_);
  form->addRow("M&aximum:", eMaximum_);
  form->addRow("Step &value when presenting results:", eStep_);
  form->addRow(lblGroups_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 6, 0, 0);
  layout->addWidget(box);
  layout->addStretch();
  return page;
}

QLineEdit* TQVXQuestion::DigitField(const char* name, int digits) {
  auto* field = new QLineEdit(this);
  field->setObjectName(name);
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QString("\\d{0,%1}").arg(digits)), field));
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance('0') * (digits + 2) + 16);
  field->installEventFilter(this);
  return field;
}

// A blank range or step field keeps the focus: the grouping needs all three.
bool TQVXQuestion::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && isVisible()) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const bool leaving = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                         reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
    if (field != nullptr && field != eLength_ && leaving && field->text().trimmed().isEmpty()) {
      QApplication::beep();
      QTimer::singleShot(0, field, [field] { field->setFocus(); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TQVXQuestion::StyleChanged(int index) { nbPages_->setCurrentIndex(PageForStyle(index)); }

void TQVXQuestion::RangeEdited() {
  const NumericGrouping g =
      GroupingForRange(eMinimum_->text().toStdString(), eMaximum_->text().toStdString());
  eStep_->setText(QString::number(g.step));
  ShowGroups(g.groups);
}

void TQVXQuestion::StepEdited() {
  ShowGroups(GroupsForStep(eMinimum_->text().toStdString(), eMaximum_->text().toStdString(),
                           eStep_->text().toStdString()));
}

void TQVXQuestion::ShowGroups(int groups) {
  lblGroups_->setText(QString("(Results will be groups of %1)").arg(groups));
}

void TQVXQuestion::Reset() {
  nbPages_->setCurrentIndex(kResponsesPage);
  cmbStyle_->setCurrentIndex(0);
  memQuestion_->clear();
  memResponses_->clear();
  cbIncludeOther_->setChecked(false);
  cbRequired_->setChecked(false);
}

void TQVXQuestion::Fill(const TQuestion& item) {
  memQuestion_->setPlainText(QString::fromStdString(item.Text));
  cmbStyle_->setCurrentIndex(std::clamp(item.Style - 1, 0, kNumericStyleIndex));
  StyleChanged(cmbStyle_->currentIndex());
  QStringList lines;
  for (const std::string& line : item.OptionLines()) lines << QString::fromStdString(line);
  memResponses_->setPlainText(lines.join('\n'));
  cbIncludeOther_->setChecked(item.IncludeOther);
  cbRequired_->setChecked(item.Required);
  const bool limited = item.LengthOfResponse != -1;
  rbLimit_->setChecked(limited);
  rbVerbose_->setChecked(!limited);
  eLength_->setText(limited ? QString::number(item.LengthOfResponse) : QString());
  eMinimum_->setText(QString::number(item.MinValue));
  eMaximum_->setText(QString::number(item.MaxValue));
  eStep_->setText(QString::number(item.StepValue));
  StepEdited();
}

ItemFields TQVXQuestion::Fields() const {
  ItemFields f;
  f.text = memQuestion_->toPlainText().toStdString();
  f.style = cmbStyle_->currentIndex() + 1;
  f.options = JoinCommaText(OptionLinesFromText(memResponses_->toPlainText().toStdString()));
  f.include_other = cbIncludeOther_->isChecked();
  f.required = cbRequired_->isChecked();
  f.min = FieldNumber(eMinimum_->text().toStdString(), 1);
  f.max = FieldNumber(eMaximum_->text().toStdString(), 10);
  f.step = FieldNumber(eStep_->text().toStdString(), 10);
  f.length = -1;
  if (f.style == kStyleText && rbLimit_->isChecked()) {
    f.length = FieldNumber(eLength_->text().toStdString(), 0);
  }
  return f;
}

void TQVXQuestion::SetDataDirectory(std::string data_dir) {
  data_dir_ = std::move(data_dir);
  RebuildTemplates();
}

void TQVXQuestion::RebuildTemplates() {
  template_files_ = ListResponseTemplates(data_dir_);
  miInsertFromTemplate_->clear();
  for (size_t i = 0; i < template_files_.size(); ++i) {
    const std::string title = ReadResponseTemplate(data_dir_ + template_files_[i]).title;
    miInsertFromTemplate_->addAction(QString::fromStdString(title), this,
                                     [this, i] { InsertTemplate(static_cast<int>(i)); });
  }
}

void TQVXQuestion::InsertTemplate(int index) {
  const TResponseTemplate t =
      ReadResponseTemplate(data_dir_ + template_files_.at(static_cast<size_t>(index)));
  QStringList lines;
  for (const std::string& v : t.values) lines << QString::fromStdString(v);
  memResponses_->setPlainText(lines.join('\n'));
}

void TQVXQuestion::SaveToTemplate() {
  TQVXrt editor(settings_, memResponses_->toPlainText(), this);
  if (editor.exec() != QDialog::Accepted) return;
  TResponseTemplate t;
  t.title = editor.Description().toStdString();
  t.values = editor.Responses();
  try {
    WriteResponseTemplate(data_dir_ + FreeResponseTemplateName(data_dir_), t);
  } catch (const EProfileWriteError&) {
    prompts_.ShowError("The response file could not be created.");
  }
  RebuildTemplates();
}

void TQVXQuestion::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  memQuestion_->setFocus();
}

void TQVXQuestion::done(int result) {
  RememberPlacement(*this, settings_, settings::kQuestionWindow);
  QDialog::done(result);
}

}  // namespace quorvant::app
