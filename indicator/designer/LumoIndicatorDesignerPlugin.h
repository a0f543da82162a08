#pragma once
// Qt Designer's entry for the liquid-crystal indicator: its name, group, icon, include file
// and the markup of a new instance. Widgets made in Designer behave as loaded at once, so that
// size, angle, sign count and colour scheme take effect while the form is being edited; a
// colour scheme chosen there is saved with the five colours it set.

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>

class TLumoIndicatorDesignerPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
  Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
  explicit TLumoIndicatorDesignerPlugin(QObject* parent = nullptr);

  QString name() const override;
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QString includeFile() const override;
  QIcon icon() const override;
  bool isContainer() const override;
  QString domXml() const override;
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override;
  void initialize(QDesignerFormEditorInterface* core) override;

private:
  bool Initialized = false;
  bool Designing = false;  // initialised by Designer's form editor, not by QUiLoader
  mutable QIcon Icon;  // drawn by the widget itself on first use
};
