#include "app/environ.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>
#include <vector>

#include "app/settingspaths.h"
#include "core/textutil.h"

namespace {

enum class Kind { Integer, Text, RecentList, AccessWord };

// One stored value: where it lives, which member holds it and how it loads.
struct StoredValue {
  const char* group;
  const char* name;
  Kind kind;
  int indEnviron::*integer = nullptr;
  std::string indEnviron::*text = nullptr;
  int (*rule)(int) = nullptr;         // load rule of an integer
  const char* wordDefault = nullptr;  // an access word's value when it is absent or malformed
};

StoredValue Int(const char* group, const char* name, int indEnviron::*member, int (*rule)(int) = nullptr) {
  return {group, name, Kind::Integer, member, nullptr, rule};
}
StoredValue Text(const char* group, const char* name, std::string indEnviron::*member) {
  return {group, name, Kind::Text, nullptr, member};
}
StoredValue Word(const char* name, std::string indEnviron::*member, const char* wordDefault) {
  return {"Password", name, Kind::AccessWord, nullptr, member, nullptr, wordDefault};
}

int PortNumber(int value) { return std::clamp(value, 1, 256); }
int OnOffPositive(int value) { return value > 0 ? 1 : 0; }
int OnUnlessZero(int value) { return value != 0 ? 1 : 0; }
int FontPercentage(int value) { return std::clamp(value, 25, 1000); }
int PrinterFontSize(int value) { return std::clamp(value, 8, 12); }
// A negative index would pick no language at all; it loads as the first one.
int LanguageIndex(int value) { return std::max(value, 0); }
// The main window's stored place and size: values no screen can hold are damaged
// data and would overflow the window arithmetic.
constexpr int kScreenLimit = 32767;
int WindowCoordinate(int value) { return std::clamp(value, -kScreenLimit, kScreenLimit); }
int WindowExtent(int value) { return std::clamp(value, 0, kScreenLimit); }

constexpr char kGlobal[] = "Global";
constexpr char kView[] = "View Option";
constexpr char kWindow[] = "Window Position";
constexpr char kSetup[] = "Setup";
constexpr char kRecentGroup[] = "Recent File List";
constexpr char kEditForms[] = "EditForm Position";
constexpr char kMakerDefaultWord[] = "kestrel";

using E = indEnviron;

// Every stored value in loading order; the first one missing ends the loading.
const std::vector<StoredValue>& StoredValues() {
  static const std::vector<StoredValue> values = {
      Int(kGlobal, "BBT", &E::bbt),
      Int(kGlobal, "ComPort", &E::comPort, PortNumber),
      Int(kGlobal, "ComSpeedHigh", &E::comSpeedHigh, OnOffPositive),
      Text(kGlobal, "Current Directory", &E::currentDirectory),
      Int(kGlobal, "MCH View", &E::mchView),
      Int(kGlobal, "DockFloatCheck", &E::dockFloatCheck),
      Int(kGlobal, "AlignCheck", &E::alignCheck),
      Int(kGlobal, "FloatingCheck", &E::floatingCheck),
      Int(kGlobal, "PHelp AlignCheck", &E::pHelpAlignCheck),
      Int(kGlobal, "PHelp FloatingCheck", &E::pHelpFloatingCheck),
      Int(kGlobal, "PHelp View", &E::pHelpView),
      {kRecentGroup, "Recent%1", Kind::RecentList},
      Int(kView, "FontSize Percentage", &E::fontSizePercentage, FontPercentage),
      Int(kView, "Toolbar Visible", &E::toolbarVisible, OnUnlessZero),
      Int(kView, "FontSize Printer", &E::fontSizePrinter, PrinterFontSize),
      Int(kWindow, "Left", &E::left, WindowCoordinate),
      Int(kWindow, "Top", &E::top, WindowCoordinate),
      Int(kWindow, "Width", &E::width, WindowExtent),
      Int(kWindow, "Height", &E::height, WindowExtent),
      Int(kWindow, "SplitterV", &E::splitterV),
      Int(kWindow, "DockMemWinTop", &E::dockMemWinTop),
      Int(kWindow, "DockMemWinLeft", &E::dockMemWinLeft),
      Int(kWindow, "DockMemWinHeight", &E::dockMemWinHeight),
      Int(kWindow, "DockMemWinWidth", &E::dockMemWinWidth),
      Int(kWindow, "DockMchWinTop", &E::dockMchWinTop),
      Int(kWindow, "DockMchWinLeft", &E::dockMchWinLeft),
      Int(kWindow, "DockMchWinHeight", &E::dockMchWinHeight),
      Int(kWindow, "DockMchWinWidth", &E::dockMchWinWidth),
      Int(kWindow, "DockPHelpWinTop", &E::dockPHelpWinTop),
      Int(kWindow, "DockPHelpWinLeft", &E::dockPHelpWinLeft),
      Int(kWindow, "DockPHelpWinHeight", &E::dockPHelpWinHeight),
      Int(kWindow, "DockPHelpWinWidth", &E::dockPHelpWinWidth),
      Int(kWindow, "FloatPHelpWinHeight", &E::floatPHelpWinHeight),
      Int(kWindow, "FloatPHelpWinWidth", &E::floatPHelpWinWidth),
      Int(kWindow, "S_MemWinHeight", &E::sMemWinHeight),
      Int(kWindow, "S_MemWinHeightWithMCH", &E::sMemWinHeightWithMch),
      Int(kWindow, "S_MemWinHeightWithHelp", &E::sMemWinHeightWithHelp),
      Int(kWindow, "S_MemWinHeightWithMCHandHelp", &E::sMemWinHeightWithMchAndHelp),
      Int(kWindow, "S_MchWinHeight", &E::sMchWinHeight),
      Int(kWindow, "S_MchWinHeightWithHelp", &E::sMchWinHeightWithHelp),
      Int(kWindow, "S_HelpWinHeight", &E::sHelpWinHeight),
      Int(kWindow, "S_HelpWinHeightWithMCH", &E::sHelpWinHeightWithMch),
      Int(kSetup, "ModelType", &E::modelType),
      Int(kSetup, "Language", &E::language, LanguageIndex),
      Word("MakerReserveMode", &E::makerReserveMode, kMakerDefaultWord),
      Word("AdjustMode", &E::adjustMode, ""),
  };
  return values;
}

// The five stored values of an edit window's position, and their record members.
struct PositionValue {
  const char* suffix;
  int EditFormPosition::*member;
};
constexpr PositionValue kPositionValues[] = {
    {"Left", &EditFormPosition::left},
    {"Top", &EditFormPosition::top},
    {"Width", &EditFormPosition::width},
    {"Height", &EditFormPosition::height},
    {"WindowState", &EditFormPosition::windowState},
};

QString Key(const char* group, const QString& name) { return QString::fromUtf8(group) + "/" + name; }
QString RecentKey(int index) { return Key(kRecentGroup, QStringLiteral("Recent%1").arg(index)); }
QString PositionKey(const std::string& window, const char* suffix) {
  return Key(kEditForms, QString::fromStdString(window) + "_" + suffix);
}
// A registry-style key path ("A\\B") as a settings group ("A/B").
QString GroupOf(const QString& keyPath) { return QString(keyPath).replace('\\', '/'); }

std::optional<int> ReadInt(const QSettings& settings, const QString& key) {
  if (!settings.contains(key)) return std::nullopt;
  bool ok = false;
  const int value = settings.value(key).toString().toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

QSettings OpenSettings() { return QSettings(SettingsIniPath(), QSettings::IniFormat); }

}  // namespace

QString EncodeAccessWord(const std::string& word) {
  if (word.empty()) return QStringLiteral("00");
  return QString::fromLatin1(QByteArray(word.data(), static_cast<qsizetype>(word.size())).toHex().toUpper());
}

std::optional<std::string> DecodeAccessWord(const QString& stored) {
  if (stored == QLatin1String("00")) return std::string();
  const std::optional<std::vector<std::uint8_t>> bytes = HexToBytes(stored.toStdString());
  if (stored.isEmpty() || !bytes) return std::nullopt;
  // The word ends at a zero character, as the stored form always meant.
  const auto end = std::find(bytes->begin(), bytes->end(), std::uint8_t{0});
  return std::string(bytes->begin(), end);
}

QRect indEnviron::DefaultWindowBounds(const QRect& workArea) {
  const int width = std::min(1024, workArea.width() * 9 / 10);
  const int height = std::min(768, workArea.height() * 9 / 10);
  const int left = workArea.left() + (workArea.width() - width) / 2;
  const int top = (workArea.height() - height) * 3 / 10 + workArea.top();
  return QRect(left, top, width, height);
}

indEnviron::indEnviron() : lock_(InstanceLockPath()) {
  if (IsFirstInstance() && (!Load() || bbt != kVersion)) ApplyDefaults();
  mchDockPending = floatingCheck == 0;
  pHelpDockPending = pHelpFloatingCheck == 0;
  if (pHelpAlignCheck == 0) pHelpAlignCheck = 2;
}

indEnviron::~indEnviron() {
  if (IsFirstInstance() && bbt == kVersion) Save();
}

bool indEnviron::Load() {
  const QSettings settings = OpenSettings();
  for (const StoredValue& value : StoredValues()) {
    switch (value.kind) {
    case Kind::Integer: {
      const std::optional<int> stored = ReadInt(settings, Key(value.group, value.name));
      if (!stored) return false;
      this->*value.integer = value.rule ? value.rule(*stored) : *stored;
      break;
    }
    case Kind::Text: {
      const QString key = Key(value.group, value.name);
      if (!settings.contains(key)) return false;
      this->*value.text = settings.value(key).toString().toStdString();
      break;
    }
    case Kind::RecentList:
      recent.Clear();
      for (int i = 0; i < static_cast<int>(kRecentFiles); ++i) {
        if (!settings.contains(RecentKey(i))) return false;
        const std::string name = settings.value(RecentKey(i)).toString().toStdString();
        if (!name.empty()) recent.AddLast(name);
      }
      break;
    case Kind::AccessWord: {
      const std::optional<std::string> word = DecodeAccessWord(settings.value(Key(value.group, value.name)).toString());
      this->*value.text = word.value_or(value.wordDefault);
      break;
    }
    }
  }
  return true;
}

void indEnviron::ApplyDefaults() {
  bbt = kVersion;
  comPort = 1;
  comSpeedHigh = 1;
  currentDirectory.clear();
  recent.Clear();
  fontSizePercentage = 80;
  toolbarVisible = 1;
  fontSizePrinter = 10;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect bounds = DefaultWindowBounds(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
  left = bounds.left();
  top = bounds.top();
  width = bounds.width();
  height = bounds.height();
  splitterV = 180;
  modelType = 0;
  language = 0;
  makerReserveMode = kMakerDefaultWord;
  adjustMode.clear();
  mchView = 0;
  dockFloatCheck = 0;
  pHelpFloatingCheck = 0;
}

void indEnviron::Save() const {
  QSettings settings = OpenSettings();
  for (const StoredValue& value : StoredValues()) {
    const QString key = Key(value.group, value.name);
    switch (value.kind) {
    case Kind::Integer: settings.setValue(key, this->*value.integer); break;
    case Kind::Text: settings.setValue(key, QString::fromStdString(this->*value.text)); break;
    case Kind::AccessWord: settings.setValue(key, EncodeAccessWord(this->*value.text)); break;
    case Kind::RecentList:
      for (int i = 0; i < static_cast<int>(kRecentFiles); ++i) {
        settings.setValue(RecentKey(i), QString::fromStdString(recent.At(static_cast<std::size_t>(i))));
      }
      break;
    }
  }
  for (const EditFormPosition& position : positions_) {
    for (const PositionValue& stored : kPositionValues) {
      settings.setValue(PositionKey(position.name, stored.suffix), position.*stored.member);
    }
  }
  // QSettings writes a new file and renames it over the old one.
  settings.sync();
}

EditFormPosition* indEnviron::GetEditFormPosition(const std::string& name) {
  const auto found = std::find_if(positions_.begin(), positions_.end(),
                                  [&](const EditFormPosition& position) { return position.name == name; });
  if (found != positions_.end()) return &*found;
  if (bbt != kVersion) return nullptr;

  const QSettings settings = OpenSettings();
  EditFormPosition position;
  position.name = name;
  for (const PositionValue& stored : kPositionValues) {
    const std::optional<int> value = ReadInt(settings, PositionKey(name, stored.suffix));
    if (!value) return nullptr;
    position.*stored.member = *value;
  }
  positions_.push_front(std::move(position));
  return &positions_.front();
}

void indEnviron::SetEditFormPosition(const EditFormPosition& position) {
  std::erase_if(positions_, [&](const EditFormPosition& stored) { return stored.name == position.name; });
  positions_.push_front(position);
}

int indEnviron::ReadInteger(const QString& keyPath, const QString& name) const {
  return ReadInt(OpenSettings(), GroupOf(keyPath) + "/" + name).value_or(-1);
}

std::optional<QByteArray> indEnviron::ReadBinary(const QString& keyPath, const QString& name) const {
  const QSettings settings = OpenSettings();
  const QString key = GroupOf(keyPath) + "/" + name;
  if (!settings.contains(key)) return std::nullopt;
  return settings.value(key).toByteArray();
}

bool indEnviron::WriteInteger(const QString& keyPath, const QString& name, int value) {
  if (!IsFirstInstance()) return false;
  QSettings settings = OpenSettings();
  settings.setValue(GroupOf(keyPath) + "/" + name, value);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool indEnviron::DeleteKey(const QString& keyPath) {
  if (!IsFirstInstance()) return false;
  QSettings settings = OpenSettings();
  settings.remove(GroupOf(keyPath));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

std::map<QString, int> indEnviron::ReadIntegers(const QString& keyPath) const {
  QSettings settings = OpenSettings();
  settings.beginGroup(GroupOf(keyPath));
  std::map<QString, int> values;
  for (const QString& name : settings.childKeys()) {
    if (const std::optional<int> value = ReadInt(settings, name)) values[name] = *value;
  }
  return values;
}

bool indEnviron::ReplaceIntegers(const QString& keyPath, const std::map<QString, int>& values) {
  if (!IsFirstInstance()) return false;
  QSettings settings = OpenSettings();
  settings.remove(GroupOf(keyPath));
  for (const auto& [name, value] : values) settings.setValue(GroupOf(keyPath) + "/" + name, value);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

platform::PortPaths indEnviron::ReadPortPaths() const {
  QSettings settings = OpenSettings();
  settings.beginGroup(QStringLiteral("PortPaths"));
  platform::PortPaths paths;
  for (const QString& name : settings.childKeys()) {
    bool ok = false;
    const int port = name.toInt(&ok);
    if (!ok || port < platform::kFirstUserPortNumber || port > platform::kLastPortNumber) continue;
    const std::string path = settings.value(name).toString().toStdString();
    if (!path.empty()) paths[port] = path;
  }
  return paths;
}
