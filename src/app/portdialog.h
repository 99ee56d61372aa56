#pragma once

// The port selection dialog: the user picks the port number clone operations use.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "platform/portdiscovery.h"
#include "platform/portpaths.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class cmcEvMan;
class cmcGTex;
class indEnviron;

// How the port field looks: a number typed, a number typed or picked from the
// ports the kernel lists, or one entry picked from the ports present by name.
enum class PortFieldStyle { kNumber = 0, kNumberList = 1, kNamedList = 2 };

class PortDialog : public QDialog {
  Q_OBJECT
 public:
  PortDialog(QWidget* owner, cmcGTex& overlay, int currentPort, PortFieldStyle style, platform::PortPaths userPaths,
             platform::DiscoveryRoots roots = {});

  // The number taken by OK; none before OK or after Cancel.
  std::optional<int> ChosenPort() const { return chosen_; }

  // The field: the edit box of styles 0 and 1, the list of styles 1 and 2.
  QLineEdit* NumberEdit() const { return numberEdit_; }
  QComboBox* List() const { return list_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  // Fills the list from the ports present, as each drop-down does.
  void RefillList();

  // Takes the field's number when it is from 1 to 256; else shows the
  // out-of-range message and stays open.
  void accept() override;

 private:
  void BuildField(int currentPort);
  void BuildButtons(QVBoxLayout& layout);
  std::optional<int> FieldNumber() const;
  void ReplaceListItems(const std::vector<std::string>& entries);
  void WidenDroppedList();

  cmcGTex& overlay_;
  PortFieldStyle style_;
  platform::PortPaths userPaths_;
  platform::DiscoveryRoots roots_;
  int currentPort_;
  QLineEdit* numberEdit_ = nullptr;
  QComboBox* list_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  std::optional<int> chosen_;
};

// Shows the dialog modally over owner: the chosen port number, or none on
// Cancel. Afterwards, either way, the window-order event goes out.
std::optional<int> ChoosePort(QWidget* owner, cmcGTex& overlay, cmcEvMan& events, int currentPort, PortFieldStyle style,
                              const platform::PortPaths& userPaths);

// The same over the settings: offers the stored port and stores the chosen
// one; whether the user chose one.
bool ChooseComPort(QWidget* owner, cmcGTex& overlay, cmcEvMan& events, indEnviron& settings, PortFieldStyle style);
