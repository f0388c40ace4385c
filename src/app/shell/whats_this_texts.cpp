// The explanations shown by "&What's This?", one per control, keyed by the
// control's object name. Where two windows use one name for controls that
// do different things, the window's name and "/" before the control's
// name give the one that differs.
#include <QHash>

#include "app/shell/whats_this.h"

namespace quorvant::app {
namespace {

const QHash<QString, QString>& Texts() {
  static const QHash<QString, QString> texts = {
      // The main window: the toolbar.
      {"tbNew",
       "Starts a new, untitled survey. You are asked to save the open one first when it "
       "has changes."},
      {"tbOpen", "Opens a survey file (.qvx)."},
      {"tbSave", "Saves the survey to its file. An untitled survey asks for a file name first."},
      {"tbPrint", "Prints the questions of the survey, or on the Analysis page the analysis."},
      {"tbPreview", "Shows the survey as respondents will see it, in your web browser."},
      {"tbCut", "Moves the selected questions and headers to the clipboard."},
      {"tbCopy",
       "Copies the selected questions and headers to the clipboard; other programs "
       "receive them as plain text."},
      {"tbPaste",
       "Inserts the questions and headers of the clipboard after the selected line, "
       "or at the end when no single line is selected."},
      {"tbProperties",
       "Edits the survey's name, author, password, web server, notifications and "
       "security settings."},
      {"tbLibrary",
       "Opens the question library, where questions are kept for use in other "
       "surveys."},
      {"tbEMailList",
       "Opens the e-mail list manager, which keeps the addresses that receive "
       "notifications."},
      {"tbPublishSurvey",
       "Registers the survey with its collection server, puts its web page "
       "there and sends the notifications."},
      // The main window: the "Questions" page.
      {"lbQuestions",
       "The questions and headers of the survey, in the order respondents see "
       "them. Select one or more lines to edit, move, copy or group them; "
       "double-click a line to edit it."},
      {"btnAddQuestion",
       "Adds a question after the selected line, or at the end of the survey "
       "when no single line is selected."},
      {"btnAddHeader", "Adds a header: a line of text that introduces the questions after it."},
      {"btnEditItem", "Edits the selected question or header."},
      {"btnDeleteItems", "Deletes the selected questions and headers."},
      {"btnMoveUp", "Moves the selected lines up by one, as a block."},
      {"btnMoveDown", "Moves the selected lines down by one, as a block."},
      {"btnSkipGroup",
       "Makes a skip group: respondents who give a chosen answer to the question "
       "before the selected ones go past them. On a grouped line, ungroups it."},
      {"btnPreview", "Shows the survey as respondents will see it, in your web browser."},
      {"TQVXProperties/btnPreview",
       "Shows the survey's web page in the selected display "
       "template, in your web browser."},
      // The main window: the "Analysis" page.
      {"cmbQuestionList", "The question whose results are shown below."},
      {"gbResultStatus",
       "How many responses the response table holds and when they were last "
       "downloaded from the collection server."},
      {"lblResponsesReceived", "The number of responses in the survey's response table."},
      {"lblLastUpdated", "When responses were last downloaded from the collection server."},
      {"lblNotifications", "How many notifications were sent for this survey."},
      {"btnUpdateNow",
       "Downloads the responses that arrived at the collection server since the "
       "last update and adds them to the response table."},
      {"gbAnalysisOptions", "Choose which responses are counted and how the results are shown."},
      {"lblFilter",
       "The filter that decides which responses are counted; \"None\" counts them "
       "all."},
      {"btnSetFilter", "Counts only the responses that meet conditions you choose."},
      {"btnChartToolbox", "Changes the kind, colours and labels of the chart."},
      {"btnExportChart",
       "Carries the chart or the text answers to the clipboard or another "
       "program."},
      {"btnCrossTab",
       "Opens the Cross Tabulation: the answers to one question counted against those to "
       "another, with a chi-square test of whether they go together."},
      // The result views of the Analysis page.
      {"chtResults",
       "The chart of the chosen question's answers. Click the \"Other\" point to read what "
       "respondents typed into the Other box."},
      {"grdResults",
       "The numbers behind the chart: each answer's count, its share of the respondents "
       "counted (\"% of respondents\") and its share of the answers the chart shows (\"% of "
       "answers\", as the chart's percent marks). \"No answer\" counts the respondents who "
       "gave none. Select cells and press Ctrl+C to copy them."},
      {"lblStatistics", "The average, lowest and highest number given, over the valid answers."},
      {"grdShortText", "The typed answers, one per response."},
      {"btnBackToChart", "Returns from the Other answers to the question's chart."},
      {"sbRecords", "Moves through the responses, five at a time on the screen."},
      {"memAnswer", "One respondent's answer."},
      // The Chart Toolbox.
      {"cmbChartType", "The kind of chart this question is drawn as."},
      {"cbDisplayLegend", "Shows the list of answers beside the chart."},
      {"cmbLegendStyle",
       "What the legend shows with each answer: nothing, its count or its share."},
      {"cbDisplayMarks", "Shows a label at each bar, slice or point."},
      {"cmbMarksStyle", "What the labels at the bars, slices or points say."},
      {"tbRotation", "Turns the pie. Only a pie chart can be turned."},
      {"btnApplyToAll", "Gives every question the chart settings shown here."},
      {"rbSolid", "Draws the chart on one colour."},
      {"cmbColor", "The colour behind the chart."},
      {"rbGradient", "Draws the chart on a colour that fades into another."},
      {"cmbFromColor", "The colour the background fades from."},
      {"cmbToColor", "The colour the background fades to."},
      {"cmbDirection", "Which way the background fades."},
      // The Cross Tabulation.
      {"cmbCrossRows",
       "The question whose answers make the rows: one row per option (Other included) or, "
       "for a Numeric question, per group."},
      {"cmbCrossColumns",
       "The question whose answers make the columns: one column per option (Other included) "
       "or, for a Numeric question, per group."},
      {"chkRowPercent", "Shows under each count its share of the row's total."},
      {"chkColumnPercent", "Shows under each count its share of the column's total."},
      {"chkTotalPercent", "Shows under each count its share of all answers in the table."},
      {"grdCrossTable",
       "How many respondents gave each pair of answers, counted over the responses the "
       "current filter leaves. A respondent who ticked several options of a Multiple Choice "
       "question counts once for each."},
      {"lblCrossNotes",
       "The responses counted and those left out because either question was not answered, "
       "then Pearson's chi-square test with its degrees of freedom, p-value and Cramér's V, "
       "and a warning when many cells expect few answers."},
      {"btnCopyCrossTable",
       "Copies the table with its notes to the clipboard, as text and as a table for word "
       "processors and spreadsheets."},
      // The Filter Builder.
      {"TQVXFilterBuilder/lbCurrentFilter",
       "The conditions a response must meet to be counted, all of them together."},
      {"TQVXFilterBuilder/cmbQuestion", "The question whose answers the new condition looks at."},
      {"TQVXFilterBuilder/btnRemove", "Removes the selected condition."},
      {"TQVXFilterBuilder/btnClearAll", "Removes every condition, so that all responses count."},
      {"TQVXFilterBuilder/rbSelected", "Counts the respondents who chose the option below."},
      {"TQVXFilterBuilder/rbNotSelected",
       "Counts the respondents who did not choose the option below."},
      {"TQVXFilterBuilder/lbOptions",
       "The question's options. Choose one, or double-click it to add the condition at "
       "once."},
      {"TQVXFilterBuilder/lblTextNote", "Typed answers cannot be used in a filter."},
      {"TQVXFilterBuilder/cmbOperator", "How the respondent's number compares with the value."},
      {"TQVXFilterBuilder/eValue",
       "The number to compare with, such as 30, -2 or 4.5. Only a number can be added."},
      {"TQVXFilterBuilder/lblValueProblem",
       "Why the value typed cannot be added: it must be a plain number, without blanks, "
       "decimal comma or exponent."},
      {"TQVXFilterBuilder/btnAddToFilter", "Adds the condition to the current filter."},
      {"sbStatus",
       "The survey's file, whether it has unsaved changes, and the state of its web "
       "page."},
      // The question editor.
      {"memQuestion", "The question as respondents read it. It may take several lines."},
      {"cmbStyle",
       "How respondents answer: choose one option, tick several, mark a point on a "
       "scale, type text, pick from a list, or type a number."},
      {"cbRequired",
       "Makes the question one that respondents must answer: the browser does not send the "
       "page while it is unanswered (for Multiple Select, while no box is ticked). The "
       "question's text gets a marker on the page and in the printed questionnaire."},
      {"memResponses",
       "The answers respondents choose from, one per line. A line written as "
       "\"text~value\" shows the text and records the value."},
      {"cbIncludeOther",
       "Adds an \"Other - please specify\" answer with a box for the "
       "respondent's own words."},
      {"btnOptions",
       "Fills the responses from a response template, clears them, or saves them "
       "as a new template."},
      {"rbLimit", "A one-line answer box that takes at most the number of characters given."},
      {"eLength", "The most characters a one-line answer may hold."},
      {"rbVerbose", "A large answer box for answers of several lines."},
      {"eMinimum", "The smallest number a respondent may give. It cannot be left empty."},
      {"eMaximum", "The largest number a respondent may give. It cannot be left empty."},
      {"eStep",
       "The width of the groups in which numeric answers are counted in the results. "
       "It cannot be left empty."},
      {"lblGroups", "How many groups the results of this question will have."},
      {"btnHelp", "Opens the help page of this window."},
      // "Report Destination" and "Select Range".
      {"rbToPrinter", "Prints the analysis: every question with its chart or answers."},
      {"rbToWebPage",
       "Writes the analysis as web pages into the directory below and opens them in your "
       "browser."},
      {"eWebDirectory",
       "The existing directory that receives the pages and their chart images. Files of "
       "the same names are replaced."},
      {"btnBrowseDir", "Chooses the directory for the web pages."},
      {"rbSelected", "Writes the page of the question shown on the Analysis page only."},
      {"rbAll", "Writes an index page and one page for every question."},
      // The header editor.
      {"memHeader", "The header's text, shown above the questions that follow it."},
      // The skip-group dialog.
      {"TQVXSkipGroup/lbQuestions",
       "The questions that respondents skip when they give the "
       "answer chosen below."},
      {"lblHeadQuestion", "The question whose answer decides whether the group is skipped."},
      {"cmbResponse", "The answer that makes respondents skip the group."},
      // The response template editor.
      {"eDescription", "The template's name in the menus, at most 40 characters."},
      // The survey properties.
      {"eName", "The survey's name, shown as the title of its web page."},
      {"eAuthor", "Your name, as the author of the survey."},
      {"ePassword",
       "The password that protects the survey's responses on the collection server, "
       "at most 10 characters."},
      {"memInstructions", "Text shown to respondents before the first question."},
      {"memFinalComments", "Text shown to respondents after the last question."},
      {"lbDisplayTemplate", "The display template that gives the survey's web page its look."},
      {"cmbServerType", "The kind of collection server that receives the responses."},
      {"eServerURL", "The address of your own collection server."},
      {"eAccountID", "Your account on the public collection service."},
      {"cbCheckAnswers",
       "Lets the respondent's browser refuse answers that cannot be counted before the page "
       "is sent: Numeric Value boxes take only whole numbers from the question's minimum to "
       "its maximum, limited text boxes no more than their length. Off, the page is written "
       "as before."},
      {"eResultURL",
       "The page respondents are sent to after they submit the survey. Leave it "
       "empty for a short thank-you page."},
      {"eNotificationFile", "The e-mail list whose addresses receive the notification."},
      {"btnSelectFile", "Chooses the e-mail list file."},
      {"btnEmailListManager", "Opens the e-mail list for editing."},
      {"rbAllAddresses", "Sends the notification to every address of the list."},
      {"rbRandomSampling", "Sends the notification to a random part of the list."},
      {"tbSampling", "The share of the list, in per cent, that receives the notification."},
      {"memNotifyMessage",
       "The message sent with the notification. In each message <FirstName>, <LastName> and "
       "<EmailAddress> are replaced by the recipient's entries in the e-mail list, "
       "<SurveyTitle> by the survey's name and <SurveyAuthor> by its author, exactly as "
       "written."},
      {"cbAttachSurvey", "Sends the survey's web page along with the notification."},
      {"memHistory", "When and how the survey was published. It is kept by the program."},
      {"cbOnly1Email", "Keeps only the first response from each e-mail address."},
      {"cbOnly1IP", "Keeps only the first response from each network (IP) address."},
      {"cbLimitByIP",
       "Keeps only responses from network addresses that contain one of the "
       "listed texts."},
      {"lbIPAddresses",
       "The accepted address prefixes. \"192.168.1\" admits every address that "
       "begins with it."},
      {"eIPAddress", "An address prefix to add to the list."},
      {"btnAddIP", "Adds the typed prefix to the list."},
      {"btnDeleteIP", "Removes the selected prefix from the list."},
      {"cbMakeDefault", "Also makes these settings the defaults for new surveys."},
      // The preferences.
      {"ePassword",
       "The password of the user ID at the mail server. It is kept in your desktop keyring, "
       "not in the settings file; without a keyring it is kept until the program ends."},
      {"eDataDirectory",
       "The folder that holds display templates, response templates and the "
       "question library."},
      {"btnBrowse", "Chooses another data folder, or creates one."},
      {"cbAutoReopen", "Opens the survey you worked on last when the program starts."},
      {"gbWarnings",
       "The questions the program asks before you lose work. Untick one to stop "
       "it being asked."},
      {"cmbEmailSystem",
       "How notifications are sent: straight to a mail server, or through your "
       "mail program."},
      {"eDisplayName", "Your name as recipients of notifications see it."},
      {"eReplyAddress", "The address that replies to notifications go to."},
      {"eSMTPServer", "The mail server that sends notifications."},
      {"eOutgoingPort", "The mail server's port, usually 25 or 587."},
      {"eSMTPUserID", "Your user name on the mail server."},
      {"eGatewayText",
       "Text put before each address, for mail systems that need it (for "
       "example \"SMTP:\")."},
      {"cbUseProxy", "Reach the collection server through a proxy server."},
      {"eProxyAddress", "The proxy server's address."},
      {"eProxyPort", "The proxy server's port."},
      {"cmbDefaultHTML", "The extension of generated web pages: .htm or .html."},
      // The directory chooser.
      {"eDirName", "The chosen folder. Type a new name to create it."},
      {"tvDirectories", "Click a folder to choose it."},
      {"lbFiles", "The files in the chosen folder, for reference."},
      // The update and warning dialogs.
      {"lbStatus", "What happened during the update, step by step."},
      {"btnStop", "Closes this window. A download under way still finishes."},
      {"cbDontShow",
       "Stops this warning from being shown again. The preferences can turn it "
       "back on."},
      // The question library.
      {"cmbLibraryName", "The question library whose items are listed below."},
      {"btnNewLibrary", "Makes a new, empty question library with a name of its own."},
      {"btnDeleteLibrary", "Deletes the question library shown, with its file."},
      {"lbLibraryQuestions",
       "The questions and headers of the library. Select the ones to insert, edit or "
       "delete; double-click to insert."},
      {"btnInsert",
       "Appends the selected items to the end of the open survey and closes this window."},
      {"TQVXql/btnEditItem", "Edits the selected library item; the library is saved at once."},
      {"btnDeleteItem", "Deletes the selected items from the library."},
      {"btnClose", "Closes this window."},
      {"TQVXLibName/eName", "The name by which the new library or template is listed."},
      // The template manager.
      {"cmbType", "Which templates to list: response templates or display templates."},
      {"lbTemplates", "The templates of the chosen type. Click one to see and edit it."},
      {"btnNewTemplate", "Makes a new template of the chosen type."},
      {"btnDeleteTemplate", "Deletes the selected template and its file."},
      {"memContents",
       "The template's contents: one response option per line, or the display "
       "template's HTML. Changes are saved when you leave the template."},
      {"TQVXTemplateMgr/btnClose", "Saves your changes and closes this window."},
      // The import dialog.
      {"TQVXImportSurvey/cmbStyle", "The style that every imported question takes."},
      // The publish dialog.
      {"TQVXPublishSurvey/eHTMLFileName", "The file the survey's web page is written to."},
      {"TQVXPublishSurvey/btnSelectFile", "Chooses the file for the survey's web page."},
      {"TQVXPublishSurvey/btnGenerateHTMLPage",
       "Writes the survey's web page from its display template into the file above."},
      {"TQVXPublishSurvey/lblServerAddress",
       "The collection server the survey's page sends its answers to."},
      {"TQVXPublishSurvey/btnVerifyServer",
       "Asks the collection server whether it answers as a Quorvant server."},
      {"TQVXPublishSurvey/btnRegisterNow",
       "Registers the survey with the collection server under its password, so that the "
       "server accepts its responses."},
      {"TQVXPublishSurvey/btnSendMail",
       "Mails the invitation to the addresses of the survey's notification list, or to a "
       "random sample of them, as the survey's properties say; or a reminder to those who "
       "have not answered, when that is chosen above."},
      {"TQVXPublishSurvey/rbSendSampled",
       "Mails the invitation to the list as the survey's properties say: to every address, "
       "or to a random sample of the list."},
      {"TQVXPublishSurvey/rbSendNotAnswered",
       "Mails a reminder to only those people of the list whose address appears in no "
       "response downloaded so far (letter case and blanks around the address do not count). "
       "Download the responses first. This choice is open only when the survey's page asks "
       "for the respondent's e-mail address: check \"Allow only 1 survey response from each "
       "e-mail address\" on the Security page of Survey Properties. Without it the responses "
       "carry no address, so nobody can tell who has answered."},
      {"TQVXPublishSurvey/btnStopSending",
       "Stops the mailing after the message on its way; the history records how many "
       "were sent."},
      {"TQVXPublishSurvey/pbSendMail", "How far the mailing has come."},
      {"TQVXPublishSurvey/btnCancel", "Closes this window."},
      {"TQVXPublishSurvey/btnHelp", "Opens the help page of publishing."},
  };
  return texts;
}

}  // namespace

QString WhatsThisText(const QString& window_name, const QString& object_name) {
  if (object_name.isEmpty()) return {};
  const auto& texts = Texts();
  const auto scoped = texts.constFind(window_name + "/" + object_name);
  return scoped != texts.cend() ? *scoped : texts.value(object_name);
}

QStringList WhatsThisNames() { return Texts().keys(); }

}  // namespace quorvant::app
