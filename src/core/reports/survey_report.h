// The survey printed as a paper questionnaire: every header and question
// with its answer lines, tick circles or squares, numeric range and skip
// notes, in survey order.
#pragma once

#include <string>

namespace quorvant {

class PageCanvas;
class TSurvey;

// "Quorvant Report - " + the survey's name: the print job's title.
std::string SurveyReportTitle(const TSurvey& survey);

// Numbers the items (as the question list does) and prints them.
void PrintSurveyReport(TSurvey& survey, PageCanvas& canvas);

}  // namespace quorvant
