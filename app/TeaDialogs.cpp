#include "TeaDialogs.h"

#include "OrbForms.h"
#include "TeaTexts.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <algorithm>

using namespace TeaTexts;
using Teas::TNameCheck;

namespace {

constexpr int DialogFont = 11;  // 8 points at 96 dots per inch, as in the other dialogs

// The layouts' font at the desktop font's scale, for a dialog laid out by Qt's layouts.
QFont ScaledDialogFont() { return OrbForms::LayoutFont(OrbForms::Scaled(DialogFont, OrbForms::FormScale())); }

// A label that says why the input beside it is refused; as wide as the longest reason it may
// give, so that the dialog does not jump as the reasons come and go.
QLabel* ReasonLabel(QWidget* parent, const char* name, std::initializer_list<TTeaText> reasons) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  int widest = 0;
  for (const TTeaText reason : reasons)
    widest = std::max(widest, parent->fontMetrics().horizontalAdvance(Text(reason)));
  label->setMinimumWidth(widest + parent->fontMetrics().averageCharWidth());
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, TTeaText text) {
  auto* button = new QPushButton(Text(text), parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

// The field's label with its access key, and the field's name for assistive tools.
QLabel* FieldLabel(QWidget* field, TTeaText label, TTeaText name) {
  auto* caption = new QLabel(Text(label), field->parentWidget());
  caption->setBuddy(field);
  field->setAccessibleName(Text(name));
  return caption;
}

} // namespace

QString NameReason(TNameCheck check) {
  switch (check) {
  case TNameCheck::Empty: return Text(ttNoName);
  case TNameCheck::TooLong: return Text(ttNameTooLong);
  case TNameCheck::ControlCharacter: return Text(ttControlCharacter);
  case TNameCheck::Taken: return Text(ttNameTaken);
  case TNameCheck::Good: break;
  }
  return {};
}

// ---- The editor -------------------------------------------------------------------------------

TFTeaEditor::TFTeaEditor(QWidget* parent, const Teas::TTeaList& list, QChar separator)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      FList(list), FSeparator(separator) {
  setObjectName(QStringLiteral("FTeaEditor"));
  setWindowTitle(Text(ttTeas));
  setFont(ScaledDialogFont());
  Build();
  for (qsizetype row = 0; row < FList.size(); ++row)
    ShowTea(row);
  Select(0);
  FTable->setFocus();
}

void TFTeaEditor::Build() {
  // Made in the order Tab goes through them.
  BuildList();
  BuildFields();
  FOK = new QPushButton(Text(ttOK), this);
  FOK->setDefault(true);
  auto* cancel = Button(this, "Cancel", ttCancel);
  connect(FOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LayOut(cancel);
}

void TFTeaEditor::BuildList() {
  FTable = new QTableWidget(0, 4, this);
  FTable->setObjectName(QStringLiteral("Table"));
  FTable->setAccessibleName(Text(ttTeas));
  FTable->setHorizontalHeaderLabels({Text(ttName), Text(ttTime), Text(ttInfusions), Text(ttExtra)});
  FTable->verticalHeader()->hide();
  FTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + fontMetrics().height() / 2);
  FTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  FTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  FTable->setSelectionMode(QAbstractItemView::SingleSelection);
  FTable->setTabKeyNavigation(false);  // Tab leaves the table for the fields
  FTable->setMinimumSize(fontMetrics().averageCharWidth() * 48, fontMetrics().height() * 12);
  connect(FTable, &QTableWidget::currentCellChanged, this, &TFTeaEditor::FillFields);

  FAdd = Button(this, "Add", ttAdd);
  FRemove = Button(this, "Remove", ttRemove);
  FUp = Button(this, "Up", ttUp);
  FDown = Button(this, "Down", ttDown);
  connect(FAdd, &QPushButton::clicked, this, &TFTeaEditor::AddClick);
  connect(FRemove, &QPushButton::clicked, this, &TFTeaEditor::RemoveClick);
  connect(FUp, &QPushButton::clicked, this, &TFTeaEditor::UpClick);
  connect(FDown, &QPushButton::clicked, this, &TFTeaEditor::DownClick);
}

void TFTeaEditor::BuildFields() {
  FName = new QLineEdit(this);
  FTime = new QLineEdit(this);
  FInfusions = new QSpinBox(this);
  FInfusions->setRange(1, int(Teas::MostInfusions));
  FExtra = new QLineEdit(this);
  for (QLineEdit* time : {FTime, FExtra})
    time->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:000")));
  // Room for a usual name whatever the reasons beside the fields take.
  FName->setMinimumWidth(fontMetrics().averageCharWidth() * 20);
  connect(FName, &QLineEdit::textEdited, this, &TFTeaEditor::NameEdited);
  connect(FTime, &QLineEdit::textEdited, this, &TFTeaEditor::TimeEdited);
  connect(FInfusions, &QSpinBox::valueChanged, this, &TFTeaEditor::InfusionsEdited);
  connect(FExtra, &QLineEdit::textEdited, this, &TFTeaEditor::ExtraEdited);
  FNameReason = ReasonLabel(this, "NameReason", {ttNoName, ttNameTooLong, ttControlCharacter, ttNameTaken});
  FTimeReason = ReasonLabel(this, "TimeReason", {ttTimeRange});
  FExtraReason = ReasonLabel(this, "ExtraReason", {ttExtraRange});
  FListReason = new QLabel(this);
}

void TFTeaEditor::LayOut(QPushButton* cancel) {
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {FAdd, FRemove, FUp, FDown})
    buttons->addWidget(button);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(FTable, 1);
  top->addLayout(buttons);

  auto* fields = new QGridLayout;
  fields->addWidget(FieldLabel(FName, ttNameField, ttName), 0, 0);
  fields->addWidget(FName, 0, 1);
  fields->addWidget(FNameReason, 0, 2);
  fields->addWidget(FieldLabel(FTime, ttTimeField, ttTime), 1, 0);
  fields->addWidget(FTime, 1, 1, Qt::AlignLeft);
  fields->addWidget(FTimeReason, 1, 2);
  fields->addWidget(FieldLabel(FInfusions, ttInfusionsField, ttInfusions), 2, 0);
  fields->addWidget(FInfusions, 2, 1, Qt::AlignLeft);
  fields->addWidget(FieldLabel(FExtra, ttExtraField, ttExtra), 3, 0);
  fields->addWidget(FExtra, 3, 1, Qt::AlignLeft);
  fields->addWidget(FExtraReason, 3, 2);
  fields->setColumnStretch(1, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(FListReason, 1);
  bottom->addWidget(FOK);
  bottom->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(fields);
  layout->addLayout(bottom);
}

QString TFTeaEditor::NameReasonText() const { return FNameReason->text(); }
QString TFTeaEditor::TimeReasonText() const { return FTimeReason->text(); }
QString TFTeaEditor::ExtraReasonText() const { return FExtraReason->text(); }
QString TFTeaEditor::ListReasonText() const { return FListReason->text(); }

void TFTeaEditor::ShowTea(qsizetype row) {
  const Teas::TTea& tea = FList.at(row);
  if (FTable->rowCount() <= row)
    FTable->setRowCount(int(row) + 1);
  const QStringList cells = {tea.Name, Teas::ShortTime(tea.Time, FSeparator), QString::number(tea.Infusions),
                             Teas::ShortTime(tea.Extra, FSeparator)};
  for (int column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    if (column > 0)
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FTable->setItem(int(row), column, item);
  }
}

void TFTeaEditor::Select(qsizetype row) {
  if (row >= 0 && row < FList.size())
    FTable->setCurrentCell(int(row), 0);
  FillFields();
}

void TFTeaEditor::FillFields() {
  const int row = FTable->currentRow();
  const bool any = row >= 0 && row < FList.size();
  // Input refused in the row left behind goes with it: that row keeps what it had.
  for (QLabel* reason : {FNameReason, FTimeReason, FExtraReason})
    reason->clear();
  for (QWidget* field : {static_cast<QWidget*>(FName), static_cast<QWidget*>(FTime),
                         static_cast<QWidget*>(FInfusions), static_cast<QWidget*>(FExtra)}) {
    field->setEnabled(any);
    field->setAccessibleDescription({});
  }
  FFilling = true;
  const Teas::TTea tea = any ? FList.at(row) : Teas::TTea{};
  FFilled = tea;
  FName->setText(tea.Name);
  FTime->setText(any ? Teas::ShortTime(tea.Time, FSeparator) : QString());
  FInfusions->setValue(int(tea.Infusions));
  FExtra->setText(any ? Teas::ShortTime(tea.Extra, FSeparator) : QString());
  FFilling = false;
  UpdateButtons();
}

void TFTeaEditor::Refused(QLabel* reason, QWidget* field, const QString& text) {
  reason->setText(text);
  field->setAccessibleDescription(text);
  UpdateButtons();
}

void TFTeaEditor::NameEdited() {
  const int row = FTable->currentRow();
  if (FFilling || row < 0)
    return;
  const QString name = FName->text().trimmed();
  const TNameCheck check = Teas::CheckName(name, FList, row);
  FList[row].Name = check == TNameCheck::Good ? name : FFilled.Name;
  ShowTea(row);
  Refused(FNameReason, FName, NameReason(check));
}

void TFTeaEditor::TimeEdited() {
  const int row = FTable->currentRow();
  if (FFilling || row < 0)
    return;
  const auto time = Teas::ParseShortTime(FTime->text(), FSeparator);
  const bool good = time && *time >= 1 && *time <= Teas::LongestTime;
  FList[row].Time = good ? *time : FFilled.Time;
  ShowTea(row);
  Refused(FTimeReason, FTime, good ? QString() : Text(ttTimeRange));
}

void TFTeaEditor::InfusionsEdited() {
  const int row = FTable->currentRow();
  if (FFilling || row < 0)
    return;
  FList[row].Infusions = quint32(FInfusions->value());
  ShowTea(row);
}

void TFTeaEditor::ExtraEdited() {
  const int row = FTable->currentRow();
  if (FFilling || row < 0)
    return;
  const auto extra = Teas::ParseShortTime(FExtra->text(), FSeparator);
  const bool good = extra && *extra <= Teas::LongestExtra;
  FList[row].Extra = good ? *extra : FFilled.Extra;
  ShowTea(row);
  Refused(FExtraReason, FExtra, good ? QString() : Text(ttExtraRange));
}

void TFTeaEditor::AddClick() {
  if (FList.size() >= Teas::MostTeas) {
    FListReason->setText(Text(ttTooMany));
    return;
  }
  QString name = Text(ttNewTea);
  for (int number = 2; Teas::IndexOf(FList, name) >= 0; ++number)
    name = QStringLiteral("%1 %2").arg(Text(ttNewTea)).arg(number);
  FList << Teas::TTea{name, 180};
  ShowTea(FList.size() - 1);
  Select(FList.size() - 1);
  FName->setFocus();
  FName->selectAll();
}

void TFTeaEditor::RemoveClick() {
  const int row = FTable->currentRow();
  if (row < 0)
    return;
  if (FList.size() == 1) {
    FListReason->setText(Text(ttKeepOne));
    return;
  }
  FList.removeAt(row);
  FTable->removeRow(row);
  Select(std::min<qsizetype>(row, FList.size() - 1));
}

void TFTeaEditor::UpClick() {
  const int row = FTable->currentRow();
  if (row < 1)
    return;
  FList.swapItemsAt(row, row - 1);
  ShowTea(row);
  ShowTea(row - 1);
  Select(row - 1);
}

void TFTeaEditor::DownClick() {
  const int row = FTable->currentRow();
  if (row < 0 || row + 1 >= FList.size())
    return;
  FList.swapItemsAt(row, row + 1);
  ShowTea(row);
  ShowTea(row + 1);
  Select(row + 1);
}

void TFTeaEditor::UpdateButtons() {
  const int row = FTable->currentRow();
  FRemove->setEnabled(row >= 0);
  FUp->setEnabled(row > 0);
  FDown->setEnabled(row >= 0 && row + 1 < FList.size());
  FOK->setEnabled(FNameReason->text().isEmpty() && FTimeReason->text().isEmpty() && FExtraReason->text().isEmpty());
  if (FList.size() < Teas::MostTeas && FList.size() > 1)
    FListReason->clear();
}

// ---- Saving the set time as a tea ---------------------------------------------------------

TFSaveTea::TFSaveTea(QWidget* parent, const Teas::TTeaList& list, quint32 seconds, QChar separator)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FList(list) {
  setObjectName(QStringLiteral("FSaveTea"));
  setWindowTitle(Text(ttSaveTitle));
  setFont(ScaledDialogFont());

  FName = new QLineEdit(this);
  FName->setObjectName(QStringLiteral("Name"));
  FName->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
  auto* prompt = new QLabel(Text(ttSavePrompt).arg(Teas::ShortTime(seconds, separator)), this);
  prompt->setBuddy(FName);
  FName->setAccessibleName(Text(ttName));
  FReason = ReasonLabel(this, "Reason", {ttNoName, ttNameTooLong, ttControlCharacter, ttNameTaken, ttTooMany});
  FOK = new QPushButton(Text(ttOK), this);
  FOK->setDefault(true);
  FOK->setEnabled(false);
  auto* cancel = Button(this, "Cancel", ttCancel);
  connect(FName, &QLineEdit::textEdited, this, &TFSaveTea::NameEdited);
  connect(FOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(prompt, 0, 0, 1, 2);
  layout->addWidget(FName, 1, 0);
  layout->addWidget(FReason, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(FOK);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // A full list takes no more: said at once, not after the name has been typed.
  if (FList.size() >= Teas::MostTeas)
    FReason->setText(Text(ttTooMany));
  FName->setFocus();
}

QString TFSaveTea::Name() const { return FName->text().trimmed(); }
QString TFSaveTea::ReasonText() const { return FReason->text(); }

void TFSaveTea::NameEdited() {
  if (FList.size() >= Teas::MostTeas)
    return;
  const QString reason = NameReason(Teas::CheckName(Name(), FList));
  FReason->setText(reason);
  FName->setAccessibleDescription(reason);
  FOK->setEnabled(reason.isEmpty());
}
