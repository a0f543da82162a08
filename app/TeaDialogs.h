#pragma once
// The two dialogs of the teas: the editor of the whole list, and the one that saves the set
// time as a tea under a new name. Each refuses wrong input where it is typed, with the reason
// beside the field, and hands over its result only through OK.

#include "Teas.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The reason a name is refused, in the user's language; empty for a good one.
QString NameReason(Teas::TNameCheck check);

class TFTeaEditor : public QDialog {
  Q_OBJECT

public:
  // Edits a copy of list; separator is the one the times are shown with.
  TFTeaEditor(QWidget* parent, const Teas::TTeaList& list, QChar separator);

  // The list as edited: what OK hands over.
  const Teas::TTeaList& List() const { return FList; }

  QTableWidget* Table() const { return FTable; }
  QLineEdit* NameField() const { return FName; }
  QLineEdit* TimeField() const { return FTime; }
  QSpinBox* InfusionsField() const { return FInfusions; }
  QLineEdit* ExtraField() const { return FExtra; }
  QPushButton* OKButton() const { return FOK; }
  // The reason shown beside each field and under the table; empty where there is none.
  QString NameReasonText() const;
  QString TimeReasonText() const;
  QString ExtraReasonText() const;
  QString ListReasonText() const;

public slots:
  void AddClick();
  void RemoveClick();
  void UpClick();
  void DownClick();

private:
  void Build();
  void BuildList();
  void BuildFields();
  void LayOut(QPushButton* cancel);
  // The fields show the tea of the table's current row.
  void RowChanged();
  // A field's input, taken into the list when it is good, refused with its reason when not.
  void NameEdited();
  void TimeEdited();
  void InfusionsEdited();
  void ExtraEdited();
  void FillFields();
  void ShowTea(qsizetype row);
  void Select(qsizetype row);
  // Shows why the field's input is refused (empty: it was taken); a refused input leaves the
  // row as it was when it was selected.
  void Refused(QLabel* reason, QWidget* field, const QString& text);
  void UpdateButtons();

  Teas::TTeaList FList;
  QChar FSeparator;
  bool FFilling = false;  // the fields are being filled from the list, not typed in
  Teas::TTea FFilled;     // the row's tea as it was when the fields were filled
  QTableWidget* FTable = nullptr;
  QLineEdit* FName = nullptr;
  QLineEdit* FTime = nullptr;
  QSpinBox* FInfusions = nullptr;
  QLineEdit* FExtra = nullptr;
  QLabel* FNameReason = nullptr;
  QLabel* FTimeReason = nullptr;
  QLabel* FExtraReason = nullptr;
  QLabel* FListReason = nullptr;
  QPushButton* FAdd = nullptr;
  QPushButton* FRemove = nullptr;
  QPushButton* FUp = nullptr;
  QPushButton* FDown = nullptr;
  QPushButton* FOK = nullptr;
};

class TFSaveTea : public QDialog {
  Q_OBJECT

public:
  // Asks for the name under which the set time (seconds) joins list.
  TFSaveTea(QWidget* parent, const Teas::TTeaList& list, quint32 seconds, QChar separator);

  // The name as typed, without blanks around it.
  QString Name() const;

  QLineEdit* NameField() const { return FName; }
  QPushButton* OKButton() const { return FOK; }
  QString ReasonText() const;

private:
  void NameEdited();

  Teas::TTeaList FList;
  QLineEdit* FName = nullptr;
  QLabel* FReason = nullptr;
  QPushButton* FOK = nullptr;
};
