#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ravell {

enum class FieldType {
  kInt,     // 32-bit integer
  kDouble,  // double
  kTime,    // milliseconds; a time of day or a duration
  kDate,    // calendar date
  kText,    // text, held once per distinct value of the column
};

struct FieldDef {
  QString name;
  FieldType type = FieldType::kInt;
  QString label;
  int size = 0;          // texts: most characters kept
  int decimals = -1;     // doubles: shown with this many decimals ("#0.00" is 2)
  bool derived = false;  // computed when a record is stored
};

// Distinct texts of one column. A record holds an id; ranks give the sort
// order of all texts at once, so key orders compare integers.
class TextPool {
 public:
  int Intern(const QString& text);
  // Adds a text the caller knows is not in the pool yet; the lookup index
  // takes it in only when a later Intern needs it, so copying many distinct
  // texts (record ids) hashes none of them.
  int AddDistinct(const QString& text);
  const QString& Text(int id) const { return texts_[static_cast<size_t>(id)]; }
  int Size() const { return static_cast<int>(texts_.size()); }
  // Sort position of each id; recomputed when texts were added.
  const std::vector<int>& Ranks() const;
  void Clear();

 private:
  std::vector<QString> texts_;
  QHash<QString, int> ids_;  // of the first `indexed_` texts
  size_t indexed_ = 0;
  mutable std::vector<int> ranks_;
};

// The order of texts in keys: without regard to case, then by case, so it is
// total and only equal texts compare equal.
int CompareText(const QString& a, const QString& b);

// One table of records with named key orders, a current view (order, key
// range, filter condition) walked by a cursor, first-of-group tests and group
// sums. Records live column by column; key orders are vectors of record
// numbers, rebuilt when the records changed.
class RecordTable {
 public:
  // Values of one record being appended or changed; derived fields are
  // computed on it before it is stored.
  class Buffer {
   public:
    bool IsNull(int field) const { return null_[static_cast<size_t>(field)] != 0; }
    qint64 Int(int field) const { return cells_[static_cast<size_t>(field)].i; }
    double Double(int field) const { return cells_[static_cast<size_t>(field)].d; }
    QString Text(int field) const;
    void SetNull(int field);
    void SetInt(int field, qint64 value);
    void SetDouble(int field, double value);
    void SetText(int field, const QString& text);
    void SetTextId(int field, int id);  // an id of the table's pool of that field

   private:
    friend class RecordTable;
    union Cell {
      qint64 i;
      double d;
    };
    RecordTable* table_ = nullptr;
    std::vector<Cell> cells_;
    std::vector<std::uint8_t> null_;
  };

  using CalcFields = std::function<void(Buffer&)>;
  using Condition = std::function<bool(const RecordTable&, int record)>;
  using Listener = std::function<void()>;

  RecordTable(QString name, QList<FieldDef> fields);
  RecordTable(const RecordTable&) = delete;
  RecordTable& operator=(const RecordTable&) = delete;

  const QString& Name() const { return name_; }
  const QList<FieldDef>& Fields() const { return fields_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // -1 when the table has no such field.
  int FieldIndex(const QString& name) const;
  int RecordCount() const { return records_; }

  void SetCalcFields(CalcFields calc) { calc_ = std::move(calc); }

  // --- key orders
  // Defines (or redefines) a named order over fields, all ascending.
  void DefineOrder(const QString& name, const QStringList& field_names);
  QStringList OrderNames() const;
  // Field names of a named order; empty for an unknown one.
  QStringList OrderFields(const QString& name) const;
  // Chooses the active order; another one than the active drops any range.
  // Throws Error for an unknown name. An empty name is the order of storing.
  void SetOrder(const QString& name);
  const QString& Order() const { return order_; }
  int OrderFieldCount() const;
  // Builds every order now, so switching later costs nothing.
  void BuildOrders();

  // --- range and filter condition
  // Keeps the records whose first k key fields lie between low and high
  // (field by field, both ends included). Values may be texts; they are
  // converted to the field's type (ConvertError when they do not convert).
  void SetRange(const QVariantList& low, const QVariantList& high);
  void CancelRange();
  bool HasRange() const { return range_active_; }
  void SetCondition(const QString& text, Condition condition);
  const QString& ConditionText() const { return condition_text_; }
  void SetFiltered(bool on);
  bool Filtered() const { return filtered_; }

  // The active order, its range and the current record, kept while the table
  // is walked in another order and put back afterwards.
  struct ViewState;
  ViewState SaveView() const;
  void RestoreView(const ViewState& state);

  // --- walking the view
  int Count() const;
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const;
  int Position() const;  // 0-based; Count() at the end
  void SetPosition(int position);
  // Record number of the current record; -1 at the end of the view.
  int Current() const;
  // Record numbers of the view in view order.
  const std::vector<int>& ViewRecords() const;

  // Field values of the current record (a null QVariant when the field has no
  // value or there is no current record).
  QVariant Value(int field) const;
  QVariant Value(const QString& field) const;
  // Typed access by record number, for walkers that must be quick.
  bool IsNull(int record, int field) const;
  qint64 Int(int record, int field) const;
  double Double(int record, int field) const;
  const QString& Text(int record, int field) const;
  int TextId(int record, int field) const;
  QVariant RecordValue(int record, int field) const;
  // The value as the grids show it.
  QString DisplayText(int record, int field) const;
  const TextPool& Pool(int field) const;
  // The id of a text in a text field's pool, cut to the field's size.
  int InternText(int field, const QString& text);
  // The same for a text known to be new to the pool.
  int AddDistinctText(int field, const QString& text);

  // True when no record before the current one in the view agrees with it on
  // the first `level` key fields.
  bool IsFirstInGroup(int level) const;

  // Group sums: the sum of a field over the current record's group at a level
  // of the active order (0: the whole view); records without a value add 0.
  void DefineGroupSum(const QString& name, const QString& field, int level);
  double GroupSum(const QString& name) const;

  // Makes current the first record of the view whose first key fields equal
  // the values; false (and the cursor unchanged) when there is none.
  bool FindKey(const QVariantList& values);

  // --- changing the records
  void Clear();
  void Reserve(int records);
  // Starts a new record (all fields without value) or a change of the current
  // one; Post stores it, computes its derived fields and makes it current.
  Buffer& Append();
  Buffer& Edit();
  bool Editing() const { return state_ != State::kBrowse; }
  // Converts like key values; a null QVariant clears the field.
  void SetValue(int field, const QVariant& value);
  void SetValue(const QString& field, const QVariant& value);
  void Post();
  void Cancel();
  void Delete();  // the current record

  // --- windows that show the table
  // Nested; while suspended, changes are not announced, and resuming
  // announces them once.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disabled_ > 0; }
  int AddListener(Listener listener);
  void RemoveListener(int id);

 private:
  enum class State { kBrowse, kAppend, kEdit };
  union Cell {
    qint64 i;
    double d;
  };
  struct Column {
    std::vector<Cell> cells;
    std::vector<std::uint8_t> null;  // empty while no record lacks a value
    std::unique_ptr<TextPool> pool;  // texts only
  };
  struct KeyOrder {
    QString name;
    std::vector<int> fields;
    std::vector<int> records;
    bool built = false;
  };
  // A key value converted to its field's type.
  struct KeyValue {
    bool null = false;
    Cell cell{0};
    QString text;
  };

  const KeyOrder* Active() const;
  KeyOrder* FindOrder(const QString& name);
  void BuildOrder(KeyOrder& order) const;
  void EnsureView() const;
  void InvalidateView();
  void InvalidateRecords();
  void Changed();
  KeyValue ToKey(int field, const QVariant& value) const;
  std::vector<KeyValue> ToKeys(const QVariantList& values) const;
  // Compares a record's field with a key value.
  int CompareKey(int record, int field, const KeyValue& key) const;
  int CompareRecords(int a, int b, int field) const;
  bool SameGroup(int a, int b, int level) const;
  void StoreBuffer(int record);
  Cell ConvertValue(int field, const QVariant& value, bool* null);
  const std::vector<double>& Prefix(int field) const;

  QString name_;
  QList<FieldDef> fields_;
  QHash<QString, int> field_index_;
  std::vector<Column> columns_;
  int records_ = 0;
  CalcFields calc_;

  std::vector<KeyOrder> orders_;
  QString order_;
  bool range_active_ = false;
  std::vector<KeyValue> range_low_, range_high_;
  QString condition_text_;
  Condition condition_;
  bool filtered_ = false;

  struct GroupSumDef {
    QString name;
    int field;
    int level;
  };
  std::vector<GroupSumDef> sums_;

  // The view, built on first use after a change.
  mutable bool view_valid_ = false;
  mutable std::vector<int> view_;
  mutable std::map<int, std::vector<double>> prefix_;  // running sums per field
  mutable int pos_ = 0;
  // The record to find again when the view is rebuilt; -1: keep the position.
  mutable int follow_record_ = -1;

  State state_ = State::kBrowse;
  int edit_record_ = -1;  // the record Edit started on
  Buffer buffer_;

  int disabled_ = 0;
  bool pending_change_ = false;
  int next_listener_ = 1;
  std::map<int, Listener> listeners_;
};

struct RecordTable::ViewState {
  QString order;
  bool range_active = false;
  std::vector<KeyValue> low, high;
  int current = -1;
};

}  // namespace ravell
