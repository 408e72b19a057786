#include "reportsettings.h"

#include <QFileInfo>
#include <algorithm>

#include "error.h"
#include "reportlayoutfile.h"

namespace ravell {
namespace {

// Read back takes a column header above this as parked outside its band.
constexpr int kShownLimit = 1000;

// A numeric field as an integer; the conversion error names the text.
int FieldValue(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}

// Width of an element from left up to right; never negative.
int WidthTo(int right, int left) { return std::max(0, right - left); }

void SetFormat(ReportElement& element, const FormatSample& sample) {
  element.font = sample.font;
  element.alignment = sample.alignment;
}

FormatSample SampleOf(const ReportBand& band, const ReportElement& element) {
  return {band.color, element.font, element.alignment};
}

int FigureTop(bool shown, int top) { return shown ? top : kHiddenPosition; }

// The description memo holds "\n" line ends; the printed caption CR LF.
QString MemoToCaption(const QString& memo) {
  QString caption = memo;
  caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  caption.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return caption;
}

QString CaptionToMemo(const QString& caption) {
  QString memo = caption;
  memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return memo;
}

}  // namespace

QString LevelTabLabel(const QString& field) {
  if (field == QLatin1String("RecordDate")) return QStringLiteral("Date");
  if (field == QLatin1String("Name")) return QStringLiteral("Task");
  return field;
}

ReportSettings::ReportSettings(QuickReport& report, MessageBoxes& messages)
    : report_(report), messages_(&messages) {}

bool ReportSettings::ApplyReportPage() {
  int interval = 0;
  int details_shift = 0;
  try {
    interval = FieldValue(values_.report_interval);
    details_shift = FieldValue(values_.details_shift);
  } catch (const ConvertError& e) {
    messages_->Show(e.message(), QString(), MsgIcon::kError);
    return false;
  }
  const ReportPageValues& v = values_;
  QuickReport& r = report_;
  r.interval = interval;

  // Columns
  ReportBand& columns = *r.Band(QStringLiteral("QRColummnHeader"));
  ReportElement& time_header = *r.Element(QStringLiteral("QRTimeText"));
  ReportElement& rate_header = *r.Element(QStringLiteral("QRRateText"));
  const FormatSample& columns_sample = v.Sample(SampleId::kPanelColummns);
  time_header.caption = v.text_time_header;
  rate_header.caption = v.text_rate_header;
  columns.color = columns_sample.color;
  SetFormat(time_header, columns_sample);
  SetFormat(rate_header, columns_sample);
  columns.height = v.check_show_colummn_header ? TextHeight(time_header.font) + interval : 0;
  time_header.top = FigureTop(v.check_show_time, kColumnTop);
  rate_header.top = FigureTop(v.check_show_rate, kColumnTop);

  // Title, data scope and description: one element each that is as high as
  // its text; the band adds the interval.
  const auto text_band = [&](const char* band_name, const char* element_name, SampleId sample,
                             bool shown) -> ReportElement& {
    ReportBand& band = *r.Band(QString::fromLatin1(band_name));
    ReportElement& element = *r.Element(QString::fromLatin1(element_name));
    band.color = v.Sample(sample).color;
    SetFormat(element, v.Sample(sample));
    element.height = TextHeight(element.font);
    band.height = shown ? element.height + interval : 0;
    return element;
  };
  text_band("TitleBand1", "QRTitleText", SampleId::kPanelTitle, v.check_report_title).caption =
      v.text_title;
  text_band("Info", "InfoLabel", SampleId::kPanelInfo, v.check_show_info).caption =
      data_scope_ ? data_scope_() : QString();
  text_band("Description", "DescriptionLabel", SampleId::kPanelDescription,
            v.check_show_description)
      .caption = MemoToCaption(v.description_memo);

  // Summary
  ReportBand& summary = *r.Band(QStringLiteral("Summary"));
  ReportElement& summary_title = *r.Element(QStringLiteral("SummaryTitle"));
  ReportElement& summary_time = *r.Element(QStringLiteral("SummaryTime"));
  ReportElement& summary_rate = *r.Element(QStringLiteral("SummaryRate"));
  summary.color = v.Sample(SampleId::kPanelSummary).color;
  SetFormat(summary_title, v.Sample(SampleId::kPanelSummary));
  SetFormat(summary_time, v.Sample(SampleId::kPanelSummaryTime));
  SetFormat(summary_rate, v.Sample(SampleId::kPanelSummaryRate));
  summary_title.top = interval + 3;
  summary_title.height = TextHeight(summary_title.font);
  summary.height = v.check_show_summary ? summary_title.height + 2 * interval : 0;
  summary_time.top = FigureTop(v.check_show_time, interval + 3);
  summary_rate.top = FigureTop(v.check_show_rate, interval + 3);

  // Page header and footer: the header's band also keeps 3 px above the text.
  const auto page_band = [&](const char* band_name, const char* element_name, SampleId sample,
                             bool shown, const HeaderExpression& parts, int extra) {
    ReportBand& band = *r.Band(QString::fromLatin1(band_name));
    ReportElement& element = *r.Element(QString::fromLatin1(element_name));
    element.expression = BuildHeaderExpression(parts);
    band.color = v.Sample(sample).color;
    SetFormat(element, v.Sample(sample));
    element.height = TextHeight(element.font);
    band.height = shown ? element.height + interval + extra : 0;
  };
  page_band("PageHeaderBand1", "HeaderExp", SampleId::kPanelHeader, v.check_page_header,
            {v.text_header, v.header_check_page, v.header_check_date, v.header_check_time}, 3);
  page_band("PageFooterBand1", "FooterExp", SampleId::kPanelFooter, v.check_page_footer,
            {v.text_footer, v.footer_check_page, v.footer_check_date, v.footer_check_time}, 0);

  ApplyLevels(interval);

  // Details
  ReportBand& details = *r.Band(QStringLiteral("Details"));
  ReportElement& details_text = *r.Element(QStringLiteral("DetailsExp"));
  ReportElement& details_time = *r.Element(QStringLiteral("DetailsTime"));
  ReportElement& details_rate = *r.Element(QStringLiteral("DetailsRate"));
  details_text.left = details_shift;
  details_text.width = WidthTo(kSubtotalRight, details_shift);
  SetFormat(details_text, v.Sample(SampleId::kPanelDetailsTitle));
  details.color = v.Sample(SampleId::kPanelDetailsTitle).color;
  SetFormat(details_time, v.Sample(SampleId::kPanelDetailsTime));
  SetFormat(details_rate, v.Sample(SampleId::kPanelDetailsRate));
  details_text.height = TextHeight(details_text.font);
  details.height = v.check_show_details ? details_text.height + interval : 0;
  details_time.top = FigureTop(v.check_show_time, kFigureTop);
  details_rate.top = FigureTop(v.check_show_rate, kFigureTop);
  return true;
}

void ReportSettings::ApplyLevels(int interval) {
  for (int level = 1; level <= kReportLevels; ++level) {
    const TLevelFormat& format = level_formats_[level - 1];
    ReportBand& header = *report_.Band(QuickReport::GroupHeaderName(level));
    ReportBand& footer = *report_.Band(QuickReport::GroupFooterName(level));
    ReportElement& title = *report_.Element(QuickReport::LevelTitleName(level));
    ReportElement& subtotal = *report_.Element(QuickReport::LevelSubtotalName(level));
    ReportElement& time = *report_.Element(QuickReport::LevelTimeName(level));
    ReportElement& rate = *report_.Element(QuickReport::LevelRateName(level));

    title.left = format.title_left;
    title.width = WidthTo(kTitleRight, format.title_left);
    title.font = format.title_font;
    title.alignment = format.title_alignment;
    header.color = format.header_color;
    subtotal.left = format.subtotal_left;
    subtotal.width = WidthTo(kSubtotalRight, format.subtotal_left);
    subtotal.font = format.subtotal_font;
    subtotal.alignment = format.subtotal_alignment;
    footer.color = format.footer_color;
    time.font = format.time_font;
    time.alignment = format.time_alignment;
    rate.font = format.rate_font;
    rate.alignment = format.rate_alignment;

    subtotal.flag = format.subtotal_only ? 1 : 0;
    report_.SetSubtotalText(level);
    title.height = TextHeight(title.font);
    header.height = format.visible && !format.subtotal_only ? title.height + interval : 0;
    subtotal.height = TextHeight(subtotal.font);
    footer.height = format.visible ? subtotal.height + interval : 0;
    time.top = FigureTop(values_.check_show_time, kFigureTop);
    rate.top = FigureTop(values_.check_show_rate, kFigureTop);
  }
}

void ReportSettings::SetReportPage(const GroupingKey& key) {
  const QuickReport& r = report_;
  ReportPageValues& v = values_;
  const auto band = [&](const char* name) -> const ReportBand& {
    return *r.Band(QString::fromLatin1(name));
  };
  const auto element = [&](const char* name) -> const ReportElement& {
    return *r.Element(QString::fromLatin1(name));
  };

  v.report_interval = QString::number(std::max(0, r.interval));
  v.check_show_time = element("QRTimeText").top < kShownLimit;
  v.check_show_rate = element("QRRateText").top < kShownLimit;
  v.check_show_colummn_header = band("QRColummnHeader").height > 0;
  v.check_report_title = band("TitleBand1").height > 0;
  v.check_show_info = band("Info").height > 0;
  v.check_show_description = band("Description").height > 0;
  v.check_show_summary = band("Summary").height > 0;
  v.check_page_header = band("PageHeaderBand1").height > 0;
  v.check_page_footer = band("PageFooterBand1").height > 0;
  v.check_show_details = band("Details").height > 0;

  v.text_time_header = element("QRTimeText").caption;
  v.text_rate_header = element("QRRateText").caption;
  v.text_title = element("QRTitleText").caption;
  v.description_memo = CaptionToMemo(element("DescriptionLabel").caption);
  const HeaderExpression header = ParseHeaderExpression(element("HeaderExp").expression);
  v.text_header = header.text;
  v.header_check_page = header.page;
  v.header_check_date = header.date;
  v.header_check_time = header.time;
  const HeaderExpression footer = ParseHeaderExpression(element("FooterExp").expression);
  v.text_footer = footer.text;
  v.footer_check_page = footer.page;
  v.footer_check_date = footer.date;
  v.footer_check_time = footer.time;

  const auto sample = [&](SampleId id, const char* band_name, const char* element_name) {
    v.Sample(id) = SampleOf(band(band_name), element(element_name));
  };
  sample(SampleId::kPanelTitle, "TitleBand1", "QRTitleText");
  sample(SampleId::kPanelInfo, "Info", "InfoLabel");
  sample(SampleId::kPanelHeader, "PageHeaderBand1", "HeaderExp");
  sample(SampleId::kPanelFooter, "PageFooterBand1", "FooterExp");
  sample(SampleId::kPanelDescription, "Description", "DescriptionLabel");
  sample(SampleId::kPanelColummns, "QRColummnHeader", "QRTimeText");
  sample(SampleId::kPanelDetailsTitle, "Details", "DetailsExp");
  sample(SampleId::kPanelDetailsTime, "Details", "DetailsTime");
  sample(SampleId::kPanelDetailsRate, "Details", "DetailsRate");
  sample(SampleId::kPanelSummary, "Summary", "SummaryTitle");
  sample(SampleId::kPanelSummaryTime, "Summary", "SummaryTime");
  sample(SampleId::kPanelSummaryRate, "Summary", "SummaryRate");

  v.details_shift = QString::number(element("DetailsExp").left);

  for (int level = 1; level <= kReportLevels; ++level) {
    const ReportBand& header_band = *r.Band(QuickReport::GroupHeaderName(level));
    const ReportBand& footer_band = *r.Band(QuickReport::GroupFooterName(level));
    const ReportElement& title = *r.Element(QuickReport::LevelTitleName(level));
    const ReportElement& subtotal = *r.Element(QuickReport::LevelSubtotalName(level));
    const ReportElement& time = *r.Element(QuickReport::LevelTimeName(level));
    const ReportElement& rate = *r.Element(QuickReport::LevelRateName(level));
    TLevelFormat& format = level_formats_[level - 1];
    format.visible = header_band.height > 0 || subtotal.flag != 0;
    format.subtotal_only = subtotal.flag != 0;
    format.title_left = title.left;
    format.subtotal_left = subtotal.left;
    format.header_color = header_band.color;
    format.footer_color = footer_band.color;
    format.title_font = title.font;
    format.title_alignment = title.alignment;
    format.subtotal_font = subtotal.font;
    format.subtotal_alignment = subtotal.alignment;
    format.time_font = time.font;
    format.time_alignment = time.alignment;
    format.rate_font = rate.font;
    format.rate_alignment = rate.alignment;
  }

  level_tabs_.clear();
  for (int level = 1; level <= key.levels && level <= key.fields.size(); ++level)
    level_tabs_ << QStringLiteral("%1: %2").arg(level).arg(LevelTabLabel(key.fields[level - 1]));
  current_level_ = 0;
  ShowLevel(0);
}

void ReportSettings::ShowLevel(int level) {
  const TLevelFormat& format = level_formats_[level];
  ReportPageValues& v = values_;
  v.Sample(SampleId::kPanelDataTitle) = {format.header_color, format.title_font,
                                         format.title_alignment};
  v.Sample(SampleId::kPanelDataTotal) = {format.footer_color, format.subtotal_font,
                                         format.subtotal_alignment};
  v.Sample(SampleId::kPanelDataTime) = {format.footer_color, format.time_font,
                                        format.time_alignment};
  v.Sample(SampleId::kPanelDataRate) = {format.footer_color, format.rate_font,
                                        format.rate_alignment};
  v.check_data_total_only = format.subtotal_only;
  v.check_data_bands = format.visible;
  v.report_data_level_shift = QString::number(format.title_left);
}

void ReportSettings::StoreLevelShift() {
  bool ok = false;
  const int shift = values_.report_data_level_shift.trimmed().toInt(&ok);
  TLevelFormat& format = level_formats_[current_level_];
  format.title_left = ok ? shift : 0;
  format.subtotal_left = format.title_left;
}

void ReportSettings::ReportDataTabsChange(int level) {
  if (level < 0 || level >= kReportLevels) return;
  StoreLevelShift();
  current_level_ = level;
  ShowLevel(level);
}

void ReportSettings::CheckDataBandsClick(bool checked) {
  values_.check_data_bands = checked;
  level_formats_[current_level_].visible = checked;
  if (!checked) {
    values_.check_data_total_only = false;
    level_formats_[current_level_].subtotal_only = false;
  }
}

void ReportSettings::CheckDataTotalOnlyClick(bool checked) {
  values_.check_data_total_only = checked;
  level_formats_[current_level_].subtotal_only = checked;
}

void ReportSettings::ReportDataLevelShiftExit() {
  if (values_.report_data_level_shift.trimmed().isEmpty())
    values_.report_data_level_shift = QStringLiteral("0");
  StoreLevelShift();
}

void ReportSettings::DetailsShiftExit() {
  if (values_.details_shift.trimmed().isEmpty()) values_.details_shift = QStringLiteral("0");
}

void ReportSettings::LevelFormatsFromSamples() {
  TLevelFormat& format = level_formats_[current_level_];
  const ReportPageValues& v = values_;
  format.title_font = v.Sample(SampleId::kPanelDataTitle).font;
  format.subtotal_font = v.Sample(SampleId::kPanelDataTotal).font;
  format.time_font = v.Sample(SampleId::kPanelDataTime).font;
  format.rate_font = v.Sample(SampleId::kPanelDataRate).font;
  format.title_alignment = v.Sample(SampleId::kPanelDataTitle).alignment;
  format.subtotal_alignment = v.Sample(SampleId::kPanelDataTotal).alignment;
  format.time_alignment = v.Sample(SampleId::kPanelDataTime).alignment;
  format.rate_alignment = v.Sample(SampleId::kPanelDataRate).alignment;
  format.header_color = v.Sample(SampleId::kPanelDataTitle).color;
  format.footer_color = v.Sample(SampleId::kPanelDataTotal).color;
}

bool ReportSettings::SetSampleFont(SampleId sample, const ReportFont& font) {
  values_.Sample(sample).font = font;
  LevelFormatsFromSamples();
  return ApplyReportPage();
}

bool ReportSettings::SetSampleColor(SampleId sample, QRgb color) {
  // Samples of one band share its colour.
  static const std::array<std::array<SampleId, 3>, 3> kShared = {{
      {SampleId::kPanelDetailsTitle, SampleId::kPanelDetailsTime, SampleId::kPanelDetailsRate},
      {SampleId::kPanelDataTotal, SampleId::kPanelDataTime, SampleId::kPanelDataRate},
      {SampleId::kPanelSummary, SampleId::kPanelSummaryTime, SampleId::kPanelSummaryRate},
  }};
  values_.Sample(sample).color = color;
  for (const auto& group : kShared) {
    if (std::find(group.begin(), group.end(), sample) == group.end()) continue;
    for (SampleId member : group) values_.Sample(member).color = color;
  }
  LevelFormatsFromSamples();
  return ApplyReportPage();
}

bool ReportSettings::SetSampleAlignment(SampleId sample, ReportAlignment alignment) {
  values_.Sample(sample).alignment = alignment;
  LevelFormatsFromSamples();
  return ApplyReportPage();
}

bool ReportSettings::SaveReportClick(const QString& path) {
  if (!ApplyReportPage()) return false;
  try {
    SaveReportLayout(report_, path);
  } catch (const FileError& e) {
    messages_->Show(e.message(), QString(), MsgIcon::kError);
    return false;
  }
  return true;
}

bool ReportSettings::LoadReportClick(const QString& path, const GroupingKey& key) {
  if (!QFileInfo::exists(path)) return false;
  try {
    LoadReportLayout(report_, path);
  } catch (const FileError& e) {
    messages_->Show(e.message(), QString(), MsgIcon::kError);
    return false;
  }
  // The stored levels may come from another grouping order.
  report_.RebindReportGroups(key);
  SetReportPage(key);
  return true;
}

}  // namespace ravell
