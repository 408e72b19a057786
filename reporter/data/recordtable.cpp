#include "recordtable.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <algorithm>
#include <numeric>

#include "datetime.h"
#include "error.h"
#include "money.h"
#include "timetext.h"

namespace ravell {

int CompareText(const QString& a, const QString& b) {
  const int folded = a.compare(b, Qt::CaseInsensitive);
  return folded != 0 ? folded : a.compare(b);
}

int TextPool::Intern(const QString& text) {
  for (; indexed_ < texts_.size(); ++indexed_)
    ids_.insert(texts_[indexed_], static_cast<int>(indexed_));
  const auto found = ids_.constFind(text);
  if (found != ids_.constEnd()) return found.value();
  const int id = AddDistinct(text);
  ids_.insert(text, id);
  indexed_ = texts_.size();
  return id;
}

int TextPool::AddDistinct(const QString& text) {
  const int id = static_cast<int>(texts_.size());
  texts_.push_back(text);
  return id;
}

const std::vector<int>& TextPool::Ranks() const {
  if (ranks_.size() != texts_.size()) {
    std::vector<int> ids(texts_.size());
    std::iota(ids.begin(), ids.end(), 0);
    std::sort(ids.begin(), ids.end(),
              [this](int a, int b) { return CompareText(texts_[a], texts_[b]) < 0; });
    ranks_.assign(texts_.size(), 0);
    for (size_t i = 0; i < ids.size(); ++i)
      ranks_[static_cast<size_t>(ids[i])] = static_cast<int>(i);
  }
  return ranks_;
}

void TextPool::Clear() {
  texts_.clear();
  ids_.clear();
  indexed_ = 0;
  ranks_.clear();
}

// --- Buffer

QString RecordTable::Buffer::Text(int field) const {
  if (IsNull(field)) return QString();
  return table_->columns_[static_cast<size_t>(field)].pool->Text(static_cast<int>(Int(field)));
}

void RecordTable::Buffer::SetNull(int field) {
  null_[static_cast<size_t>(field)] = 1;
  cells_[static_cast<size_t>(field)].i = 0;
}

void RecordTable::Buffer::SetInt(int field, qint64 value) {
  null_[static_cast<size_t>(field)] = 0;
  cells_[static_cast<size_t>(field)].i = value;
}

void RecordTable::Buffer::SetDouble(int field, double value) {
  null_[static_cast<size_t>(field)] = 0;
  cells_[static_cast<size_t>(field)].d = value;
}

void RecordTable::Buffer::SetText(int field, const QString& text) {
  SetTextId(field, table_->InternText(field, text));
}

void RecordTable::Buffer::SetTextId(int field, int id) { SetInt(field, id); }

// --- RecordTable

RecordTable::RecordTable(QString name, QList<FieldDef> fields)
    : name_(std::move(name)), fields_(std::move(fields)) {
  columns_.resize(static_cast<size_t>(fields_.size()));
  for (int f = 0; f < fields_.size(); ++f) {
    field_index_.insert(fields_[f].name, f);
    if (fields_[f].type == FieldType::kText) {
      columns_[static_cast<size_t>(f)].pool = std::make_unique<TextPool>();
    }
  }
  buffer_.table_ = this;
  buffer_.cells_.resize(columns_.size());
  buffer_.null_.resize(columns_.size());
}

int RecordTable::FieldIndex(const QString& name) const { return field_index_.value(name, -1); }

int RecordTable::InternText(int field, const QString& text) {
  const int size = fields_[field].size;
  return columns_[static_cast<size_t>(field)].pool->Intern(
      size > 0 && text.size() > size ? text.left(size) : text);
}

int RecordTable::AddDistinctText(int field, const QString& text) {
  const int size = fields_[field].size;
  if (size > 0 && text.size() > size) return InternText(field, text);  // cut texts may meet
  return columns_[static_cast<size_t>(field)].pool->AddDistinct(text);
}

const TextPool& RecordTable::Pool(int field) const {
  return *columns_[static_cast<size_t>(field)].pool;
}

void RecordTable::DefineOrder(const QString& name, const QStringList& field_names) {
  KeyOrder order;
  order.name = name;
  for (const QString& field : field_names) {
    const int f = FieldIndex(field);
    if (f < 0) throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
    order.fields.push_back(f);
  }
  if (KeyOrder* existing = FindOrder(name)) {
    *existing = std::move(order);
  } else {
    orders_.push_back(std::move(order));
  }
  if (order_ == name) {
    range_active_ = false;
    InvalidateView();
    follow_record_ = -1;
    pos_ = 0;
    Changed();
  }
}

QStringList RecordTable::OrderNames() const {
  QStringList names;
  for (const KeyOrder& order : orders_) names << order.name;
  return names;
}

QStringList RecordTable::OrderFields(const QString& name) const {
  QStringList names;
  for (const KeyOrder& order : orders_) {
    if (order.name != name) continue;
    for (int field : order.fields) names << fields_[field].name;
  }
  return names;
}

RecordTable::KeyOrder* RecordTable::FindOrder(const QString& name) {
  for (KeyOrder& order : orders_) {
    if (order.name == name) return &order;
  }
  return nullptr;
}

const RecordTable::KeyOrder* RecordTable::Active() const {
  if (order_.isEmpty()) return nullptr;
  for (const KeyOrder& order : orders_) {
    if (order.name == order_) return &order;
  }
  return nullptr;
}

void RecordTable::SetOrder(const QString& name) {
  if (name == order_) return;
  if (!name.isEmpty() && !FindOrder(name)) {
    throw Error(QStringLiteral("%1: Index '%2' not found").arg(name_, name));
  }
  const int current = Current();
  order_ = name;
  range_active_ = false;
  InvalidateView();
  follow_record_ = current;
  Changed();
}

int RecordTable::OrderFieldCount() const {
  const KeyOrder* order = Active();
  return order ? static_cast<int>(order->fields.size()) : 0;
}

void RecordTable::BuildOrders() {
  for (KeyOrder& order : orders_) BuildOrder(order);
}

int RecordTable::CompareRecords(int a, int b, int field) const {
  const Column& column = columns_[static_cast<size_t>(field)];
  if (!column.null.empty()) {
    const bool na = column.null[static_cast<size_t>(a)] != 0;
    const bool nb = column.null[static_cast<size_t>(b)] != 0;
    if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  }
  const Cell& x = column.cells[static_cast<size_t>(a)];
  const Cell& y = column.cells[static_cast<size_t>(b)];
  switch (fields_[field].type) {
    case FieldType::kDouble:
      return x.d < y.d ? -1 : (y.d < x.d ? 1 : 0);
    case FieldType::kText: {
      const std::vector<int>& ranks = column.pool->Ranks();
      const int rx = ranks[static_cast<size_t>(x.i)], ry = ranks[static_cast<size_t>(y.i)];
      return rx < ry ? -1 : (ry < rx ? 1 : 0);
    }
    default:
      return x.i < y.i ? -1 : (y.i < x.i ? 1 : 0);
  }
}

void RecordTable::BuildOrder(KeyOrder& order) const {
  if (order.built) return;
  order.records.resize(static_cast<size_t>(records_));
  std::iota(order.records.begin(), order.records.end(), 0);
  // Packs the key of each record into one 64-bit number when the fields'
  // value spans fit; sorting plain numbers is several times quicker than
  // comparing field by field. Doubles and wide spans take the general path.
  std::vector<std::pair<qint64, int>> spans;  // minimum, bits
  int bits = 0;
  bool packable = true;
  for (int f : order.fields) {
    const Column& column = columns_[static_cast<size_t>(f)];
    if (fields_[f].type == FieldType::kDouble) {
      packable = false;
      break;
    }
    qint64 low = 0, high = 0;
    if (fields_[f].type == FieldType::kText) {
      high = column.pool->Size();
    } else if (records_ > 0) {
      const auto [min, max] =
          std::minmax_element(column.cells.begin(), column.cells.end(),
                              [](const Cell& a, const Cell& b) { return a.i < b.i; });
      low = min->i;
      high = max->i;
    }
    // One more value below the lowest stands for "no value".
    const quint64 span = static_cast<quint64>(high - low) + 2;
    int width = 1;
    while (width < 64 && (quint64{1} << width) < span) ++width;
    bits += width;
    if (bits > 63) {
      packable = false;
      break;
    }
    spans.emplace_back(low, width);
  }
  if (packable) {
    std::vector<const std::vector<int>*> ranks;
    for (int f : order.fields) {
      ranks.push_back(fields_[f].type == FieldType::kText
                          ? &columns_[static_cast<size_t>(f)].pool->Ranks()
                          : nullptr);
    }
    std::vector<std::pair<quint64, int>> keyed(static_cast<size_t>(records_));
    for (int r = 0; r < records_; ++r) {
      quint64 key = 0;
      for (size_t k = 0; k < order.fields.size(); ++k) {
        const int f = order.fields[k];
        const Column& column = columns_[static_cast<size_t>(f)];
        quint64 part = 0;
        if (column.null.empty() || !column.null[static_cast<size_t>(r)]) {
          const qint64 value = column.cells[static_cast<size_t>(r)].i;
          part = ranks[k] ? static_cast<quint64>((*ranks[k])[static_cast<size_t>(value)]) + 1
                          : static_cast<quint64>(value - spans[k].first) + 1;
        }
        key = (key << spans[k].second) | part;
      }
      keyed[static_cast<size_t>(r)] = {key, r};
    }
    std::sort(keyed.begin(), keyed.end());
    for (int r = 0; r < records_; ++r) order.records[static_cast<size_t>(r)] = keyed[r].second;
  } else {
    std::stable_sort(order.records.begin(), order.records.end(), [&](int a, int b) {
      for (int f : order.fields) {
        const int c = CompareRecords(a, b, f);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }
  order.built = true;
}

// --- keys

RecordTable::Cell RecordTable::ConvertValue(int field, const QVariant& value, bool* null) {
  const KeyValue key = ToKey(field, value);
  *null = key.null;
  if (key.null || fields_[field].type != FieldType::kText) return key.cell;
  Cell cell;
  cell.i = InternText(field, key.text);
  return cell;
}

RecordTable::KeyValue RecordTable::ToKey(int field, const QVariant& value) const {
  KeyValue key;
  if (!value.isValid() || value.isNull()) {
    key.null = true;
    return key;
  }
  const FieldType type = fields_[field].type;
  const bool is_text = value.typeId() == QMetaType::QString;
  const QString text = is_text ? value.toString().trimmed() : QString();
  const auto fail = [&](const char* kind) {
    return ConvertError(QStringLiteral("'%1' is not a valid %2").arg(value.toString(), kind));
  };
  switch (type) {
    case FieldType::kInt: {
      bool ok = false;
      key.cell.i = is_text ? text.toInt(&ok) : value.toLongLong(&ok);
      if (!ok) throw fail("integer value");
      break;
    }
    case FieldType::kDouble: {
      bool ok = true;
      if (is_text) {
        ok = ParseNumber(text, &key.cell.d);
      } else {
        key.cell.d = value.toDouble(&ok);
      }
      if (!ok) throw fail("floating point value");
      break;
    }
    case FieldType::kTime:
      if (is_text) {
        key.cell.i = ToMilliseconds(ParseTime(text));
      } else if (value.typeId() == QMetaType::QTime) {
        key.cell.i = value.toTime().msecsSinceStartOfDay();
      } else {
        bool ok = false;
        key.cell.i = value.toLongLong(&ok);
        if (!ok) throw fail("time");
      }
      break;
    case FieldType::kDate: {
      QDate date;
      if (is_text) {
        date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid()) date = QLocale().toDate(text, QLocale::ShortFormat);
      } else {
        date = value.toDate();
      }
      if (!date.isValid()) throw fail("date");
      key.cell.i = date.toJulianDay();
      break;
    }
    case FieldType::kText:
      key.text = value.toString();
      break;
  }
  return key;
}

std::vector<RecordTable::KeyValue> RecordTable::ToKeys(const QVariantList& values) const {
  const KeyOrder* order = Active();
  if (!order) throw Error(QStringLiteral("%1: No index currently active").arg(name_));
  const qsizetype count = std::min<qsizetype>(values.size(), order->fields.size());
  std::vector<KeyValue> keys;
  keys.reserve(static_cast<size_t>(count));
  for (qsizetype k = 0; k < count; ++k) keys.push_back(ToKey(order->fields[k], values[k]));
  return keys;
}

int RecordTable::CompareKey(int record, int field, const KeyValue& key) const {
  const Column& column = columns_[static_cast<size_t>(field)];
  const bool null = !column.null.empty() && column.null[static_cast<size_t>(record)] != 0;
  if (null || key.null) return null == key.null ? 0 : (null ? -1 : 1);
  const Cell& cell = column.cells[static_cast<size_t>(record)];
  switch (fields_[field].type) {
    case FieldType::kDouble:
      return cell.d < key.cell.d ? -1 : (key.cell.d < cell.d ? 1 : 0);
    case FieldType::kText:
      return CompareText(column.pool->Text(static_cast<int>(cell.i)), key.text);
    default:
      return cell.i < key.cell.i ? -1 : (key.cell.i < cell.i ? 1 : 0);
  }
}

void RecordTable::SetRange(const QVariantList& low, const QVariantList& high) {
  std::vector<KeyValue> from = ToKeys(low);
  std::vector<KeyValue> to = ToKeys(high);
  range_low_ = std::move(from);
  range_high_ = std::move(to);
  range_active_ = true;
  InvalidateView();
  follow_record_ = -1;
  pos_ = 0;
  Changed();
}

void RecordTable::CancelRange() {
  if (!range_active_) return;
  const int current = Current();
  range_active_ = false;
  InvalidateView();
  follow_record_ = current;
  Changed();
}

RecordTable::ViewState RecordTable::SaveView() const {
  return {order_, range_active_, range_low_, range_high_, Current()};
}

void RecordTable::RestoreView(const ViewState& state) {
  if (!state.order.isEmpty() && !FindOrder(state.order)) {
    throw Error(QStringLiteral("%1: Index '%2' not found").arg(name_, state.order));
  }
  order_ = state.order;
  range_active_ = state.range_active;
  range_low_ = state.low;
  range_high_ = state.high;
  InvalidateView();
  follow_record_ = state.current;
  Changed();
}

void RecordTable::SetCondition(const QString& text, Condition condition) {
  condition_text_ = text;
  condition_ = std::move(condition);
  if (filtered_) {
    InvalidateView();
    pos_ = 0;
    Changed();
  }
}

void RecordTable::SetFiltered(bool on) {
  if (filtered_ == on) return;
  filtered_ = on;
  InvalidateView();
  follow_record_ = -1;
  pos_ = 0;
  Changed();
}

// --- view

void RecordTable::InvalidateView() {
  view_valid_ = false;
  prefix_.clear();
}

void RecordTable::InvalidateRecords() {
  for (KeyOrder& order : orders_) order.built = false;
  InvalidateView();
}

void RecordTable::EnsureView() const {
  if (view_valid_) return;
  const KeyOrder* order = Active();
  std::vector<int> all;
  const std::vector<int>* source = &all;
  if (order) {
    BuildOrder(const_cast<KeyOrder&>(*order));
    source = &order->records;
  } else {
    all.resize(static_cast<size_t>(records_));
    std::iota(all.begin(), all.end(), 0);
  }
  auto begin = source->begin();
  auto end = source->end();
  if (range_active_ && order) {
    const auto compare_prefix = [&](int record, const std::vector<KeyValue>& keys) {
      for (size_t k = 0; k < keys.size(); ++k) {
        const int c = CompareKey(record, order->fields[k], keys[k]);
        if (c != 0) return c;
      }
      return 0;
    };
    begin = std::partition_point(
        begin, end, [&](int record) { return compare_prefix(record, range_low_) < 0; });
    end = std::partition_point(
        begin, end, [&](int record) { return compare_prefix(record, range_high_) <= 0; });
  }
  view_.clear();
  if (filtered_ && condition_) {
    for (auto it = begin; it != end; ++it) {
      if (condition_(*this, *it)) view_.push_back(*it);
    }
  } else {
    view_.assign(begin, end);
  }
  view_valid_ = true;
  if (follow_record_ >= 0) {
    const auto found = std::find(view_.begin(), view_.end(), follow_record_);
    pos_ = found == view_.end() ? 0 : static_cast<int>(found - view_.begin());
    follow_record_ = -1;
  }
  pos_ = std::clamp(pos_, 0, static_cast<int>(view_.size()));
}

const std::vector<int>& RecordTable::ViewRecords() const {
  EnsureView();
  return view_;
}

int RecordTable::Count() const { return static_cast<int>(ViewRecords().size()); }

void RecordTable::First() {
  EnsureView();
  pos_ = 0;
}
void RecordTable::Next() {
  if (pos_ < Count()) ++pos_;
}
void RecordTable::Prior() {
  EnsureView();
  if (pos_ > 0) --pos_;
}
void RecordTable::Last() { pos_ = std::max(0, Count() - 1); }
bool RecordTable::Eof() const { return pos_ >= Count(); }
void RecordTable::SetPosition(int position) { pos_ = std::clamp(position, 0, Count()); }

int RecordTable::Position() const {
  EnsureView();
  return pos_;
}

int RecordTable::Current() const {
  const std::vector<int>& view = ViewRecords();
  return pos_ < static_cast<int>(view.size()) ? view[static_cast<size_t>(pos_)] : -1;
}

bool RecordTable::IsNull(int record, int field) const {
  const Column& column = columns_[static_cast<size_t>(field)];
  return !column.null.empty() && column.null[static_cast<size_t>(record)] != 0;
}

qint64 RecordTable::Int(int record, int field) const {
  return columns_[static_cast<size_t>(field)].cells[static_cast<size_t>(record)].i;
}

double RecordTable::Double(int record, int field) const {
  return columns_[static_cast<size_t>(field)].cells[static_cast<size_t>(record)].d;
}

int RecordTable::TextId(int record, int field) const {
  return static_cast<int>(Int(record, field));
}

const QString& RecordTable::Text(int record, int field) const {
  return columns_[static_cast<size_t>(field)].pool->Text(TextId(record, field));
}

QVariant RecordTable::RecordValue(int record, int field) const {
  if (record < 0 || record >= records_ || field < 0 || field >= FieldCount()) return QVariant();
  if (IsNull(record, field)) return QVariant();
  switch (fields_[field].type) {
    case FieldType::kInt:
      return QVariant(static_cast<int>(Int(record, field)));
    case FieldType::kDouble:
      return QVariant(Double(record, field));
    case FieldType::kTime:
      return QVariant(QTime::fromMSecsSinceStartOfDay(
          static_cast<int>(Int(record, field) % static_cast<qint64>(kMsPerDay))));
    case FieldType::kDate:
      return QVariant(QDate::fromJulianDay(Int(record, field)));
    case FieldType::kText:
      return QVariant(Text(record, field));
  }
  return QVariant();
}

QString RecordTable::DisplayText(int record, int field) const {
  if (record < 0 || record >= records_ || field < 0 || field >= FieldCount()) return QString();
  if (IsNull(record, field)) return QString();
  const FieldDef& def = fields_[field];
  switch (def.type) {
    case FieldType::kInt:
      return QString::number(Int(record, field));
    case FieldType::kDouble:
      return def.decimals == 2   ? MoneyText(Double(record, field))
             : def.decimals >= 0 ? QString::number(Double(record, field), 'f', def.decimals)
                                 : QString::number(Double(record, field));
    case FieldType::kTime:
      return FormatTime(FromMilliseconds(Int(record, field)));
    case FieldType::kDate:
      return QLocale().toString(QDate::fromJulianDay(Int(record, field)), QLocale::ShortFormat);
    case FieldType::kText:
      return Text(record, field);
  }
  return QString();
}

QVariant RecordTable::Value(int field) const { return RecordValue(Current(), field); }

QVariant RecordTable::Value(const QString& field) const { return Value(FieldIndex(field)); }

bool RecordTable::SameGroup(int a, int b, int level) const {
  const KeyOrder* order = Active();
  if (!order) return level <= 0;
  const int n = std::min(level, static_cast<int>(order->fields.size()));
  for (int k = 0; k < n; ++k) {
    if (CompareRecords(a, b, order->fields[static_cast<size_t>(k)]) != 0) return false;
  }
  return true;
}

bool RecordTable::IsFirstInGroup(int level) const {
  const std::vector<int>& view = ViewRecords();
  if (pos_ >= static_cast<int>(view.size())) return false;
  if (pos_ == 0) return true;
  return !SameGroup(view[static_cast<size_t>(pos_) - 1], view[static_cast<size_t>(pos_)], level);
}

void RecordTable::DefineGroupSum(const QString& name, const QString& field, int level) {
  const int f = FieldIndex(field);
  if (f < 0) throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
  sums_.push_back({name, f, level});
}

const std::vector<double>& RecordTable::Prefix(int field) const {
  const std::vector<int>& view = ViewRecords();
  auto found = prefix_.find(field);
  if (found != prefix_.end()) return found->second;
  std::vector<double>& sums = prefix_[field];
  sums.resize(view.size() + 1);
  const bool is_double = fields_[field].type == FieldType::kDouble;
  double total = 0;
  sums[0] = 0;
  for (size_t i = 0; i < view.size(); ++i) {
    const int record = view[i];
    if (!IsNull(record, field)) {
      total += is_double ? Double(record, field) : static_cast<double>(Int(record, field));
    }
    sums[i + 1] = total;
  }
  return sums;
}

double RecordTable::GroupSum(const QString& name) const {
  const auto def = std::find_if(sums_.begin(), sums_.end(),
                                [&](const GroupSumDef& sum) { return sum.name == name; });
  if (def == sums_.end()) throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, name));
  const std::vector<int>& view = ViewRecords();
  const std::vector<double>& prefix = Prefix(def->field);
  if (def->level <= 0) return prefix.back();
  if (pos_ >= static_cast<int>(view.size())) return 0;
  // The view is in key order, so a group is one run around the current record.
  const int current = view[static_cast<size_t>(pos_)];
  const auto here = view.begin() + pos_;
  const auto first = std::partition_point(
      view.begin(), here, [&](int record) { return !SameGroup(record, current, def->level); });
  const auto last = std::partition_point(
      here, view.end(), [&](int record) { return SameGroup(record, current, def->level); });
  return prefix[static_cast<size_t>(last - view.begin())] -
         prefix[static_cast<size_t>(first - view.begin())];
}

bool RecordTable::FindKey(const QVariantList& values) {
  const std::vector<KeyValue> keys = ToKeys(values);
  const KeyOrder* order = Active();
  const std::vector<int>& view = ViewRecords();
  const auto compare_prefix = [&](int record) {
    for (size_t k = 0; k < keys.size(); ++k) {
      const int c = CompareKey(record, order->fields[k], keys[k]);
      if (c != 0) return c;
    }
    return 0;
  };
  const auto found = std::partition_point(view.begin(), view.end(),
                                          [&](int record) { return compare_prefix(record) < 0; });
  if (found == view.end() || compare_prefix(*found) != 0) return false;
  pos_ = static_cast<int>(found - view.begin());
  return true;
}

// --- changes

void RecordTable::Clear() {
  for (Column& column : columns_) {
    column.cells.clear();
    column.null.clear();
    if (column.pool) column.pool->Clear();
  }
  records_ = 0;
  state_ = State::kBrowse;
  range_active_ = false;
  InvalidateRecords();
  pos_ = 0;
  follow_record_ = -1;
  Changed();
}

void RecordTable::Reserve(int records) {
  for (Column& column : columns_) column.cells.reserve(static_cast<size_t>(records));
}

RecordTable::Buffer& RecordTable::Append() {
  std::fill(buffer_.null_.begin(), buffer_.null_.end(), std::uint8_t{1});
  for (auto& cell : buffer_.cells_) cell.i = 0;
  state_ = State::kAppend;
  return buffer_;
}

RecordTable::Buffer& RecordTable::Edit() {
  const int record = Current();
  if (record < 0)
    throw Error(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(name_));
  for (size_t f = 0; f < columns_.size(); ++f) {
    buffer_.cells_[f] = {columns_[f].cells[static_cast<size_t>(record)].i};
    buffer_.null_[f] = IsNull(record, static_cast<int>(f)) ? 1 : 0;
  }
  state_ = State::kEdit;
  edit_record_ = record;
  return buffer_;
}

void RecordTable::SetValue(int field, const QVariant& value) {
  if (state_ == State::kBrowse)
    throw Error(QStringLiteral("%1: Dataset not in edit or insert mode").arg(name_));
  if (field < 0 || field >= FieldCount())
    throw Error(QStringLiteral("%1: Field not found").arg(name_));
  bool null = false;
  const Cell cell = ConvertValue(field, value, &null);
  buffer_.cells_[static_cast<size_t>(field)].i = cell.i;
  buffer_.null_[static_cast<size_t>(field)] = null ? 1 : 0;
}

void RecordTable::SetValue(const QString& field, const QVariant& value) {
  const int f = FieldIndex(field);
  if (f < 0) throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
  SetValue(f, value);
}

void RecordTable::StoreBuffer(int record) {
  for (size_t f = 0; f < columns_.size(); ++f) {
    Column& column = columns_[f];
    column.cells[static_cast<size_t>(record)].i = buffer_.cells_[f].i;
    if (buffer_.null_[f] && column.null.empty()) column.null.assign(column.cells.size(), 0);
    if (!column.null.empty()) column.null[static_cast<size_t>(record)] = buffer_.null_[f];
  }
}

void RecordTable::Post() {
  if (state_ == State::kBrowse) return;
  if (calc_) calc_(buffer_);
  int record = 0;
  if (state_ == State::kAppend) {
    record = records_++;
    for (Column& column : columns_) {
      column.cells.push_back({0});
      if (!column.null.empty()) column.null.push_back(0);
    }
  } else {
    record = edit_record_;
  }
  StoreBuffer(record);
  state_ = State::kBrowse;
  InvalidateRecords();
  follow_record_ = record;
  Changed();
}

void RecordTable::Cancel() { state_ = State::kBrowse; }

void RecordTable::Delete() {
  const int record = Current();
  if (record < 0) return;
  for (Column& column : columns_) {
    column.cells.erase(column.cells.begin() + record);
    if (!column.null.empty()) column.null.erase(column.null.begin() + record);
  }
  --records_;
  state_ = State::kBrowse;
  InvalidateRecords();
  follow_record_ = -1;  // the position now holds the record after it
  Changed();
}

// --- listeners

void RecordTable::Changed() {
  if (disabled_ > 0) {
    pending_change_ = true;
    return;
  }
  // A listener may remove itself; walk a copy.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener();
}

void RecordTable::DisableControls() { ++disabled_; }

void RecordTable::EnableControls() {
  if (disabled_ == 0) return;
  if (--disabled_ == 0 && pending_change_) {
    pending_change_ = false;
    Changed();
  }
}

int RecordTable::AddListener(Listener listener) {
  const int id = next_listener_++;
  listeners_.emplace(id, std::move(listener));
  return id;
}

void RecordTable::RemoveListener(int id) { listeners_.erase(id); }

}  // namespace ravell
