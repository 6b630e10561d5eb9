// The controls of the settings window, laid out by group as dialog 145
// arranges them: five columns of group boxes, each control registered
// under its dialog id. Captions here are the layout texts; most are
// replaced by the string table when the window starts.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "CWriteSetting.h"
#include "DZedit.h"
#include "QtControlWindow.h"
#include "SettingsControls.h"

namespace orvane {

using namespace SettingsId;

namespace {

constexpr int kSpacing = 4;

QGridLayout* NewGrid(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(kSpacing + 2);
    grid->setVerticalSpacing(kSpacing);
    return grid;
}

QVBoxLayout* NewColumn(QWidget* parent) {
    auto* column = new QVBoxLayout(parent);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing + 2);
    return column;
}

}  // namespace

QLabel* CWriteSetting::MakeLabel(int id, const QString& text) {
    auto* label = new QLabel(text);
    if (id != kNoId) m_controls->Register(id, label);
    return label;
}

QLineEdit* CWriteSetting::MakeEdit(int id) {
    auto* edit = new QLineEdit;
    m_controls->Register(id, edit);
    return edit;
}

DZedit* CWriteSetting::MakeHintEdit(int id) {
    auto* edit = new DZedit(id);
    edit->Bind([this](int editId) { return FocusHint(editId); },
               [this](const QString& hint) { m_statusHint->setText(hint); });
    // Numbers only: wide enough for "-kWindDirectionOffset.00", no wider and no narrower.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-000.00")) + 12);
    m_controls->Register(id, edit);
    return edit;
}

QComboBox* CWriteSetting::MakeCombo(int id, bool editable) {
    auto* combo = new QComboBox;
    combo->setEditable(editable);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_controls->Register(id, combo);
    return combo;
}

QPushButton* CWriteSetting::MakeButton(int id, const QString& text) {
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    m_controls->Register(id, button);
    return button;
}

QCheckBox* CWriteSetting::MakeCheck(int id, const QString& text) {
    auto* check = new QCheckBox(text);
    m_controls->Register(id, check);
    return check;
}

QGroupBox* CWriteSetting::MakeGroup(int id, const QString& title) {
    auto* group = new QGroupBox(title);
    if (id != kNoId) m_controls->Register(id, group);
    return group;
}

QLabel* CWriteSetting::MakeValue(int id) {
    auto* value = new QLabel;
    value->setMinimumWidth(
        value->fontMetrics().horizontalAdvance(QStringLiteral("2013-05-06 12:30")));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_controls->Register(id, value);
    return value;
}

QWidget* CWriteSetting::BuildTimeColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);

    // Time
    auto* time = MakeGroup(kTimeGroup, QStringLiteral("Time"));
    auto* timeGrid = NewGrid(time);
    auto* date = new QDateEdit;
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_controls->Register(kDatePicker, date);
    auto* clock = new QTimeEdit;
    clock->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_controls->Register(kTimePicker, clock);
    timeGrid->addWidget(MakeLabel(kTimeLabel, QStringLiteral("Time:")), 0, 0);
    timeGrid->addWidget(date, 0, 1);
    timeGrid->addWidget(clock, 0, 2);
    timeGrid->addWidget(MakeButton(kSync, QStringLiteral("Sync")), 0, 3);
    timeGrid->setColumnStretch(4, 1);
    layout->addWidget(time);

    // Daylight: DST switch, start and end side by side, Save.
    auto* daylight = MakeGroup(kDaylightGroup, QStringLiteral("Daylight"));
    auto* dayGrid = NewGrid(daylight);
    dayGrid->addWidget(MakeCheck(kDst, QStringLiteral("DST")), 0, 0);
    dayGrid->addWidget(MakeButton(kSaveDaylight, QStringLiteral("Save")), 0, 1, Qt::AlignRight);
    const int labelIds[2][3] = {{kDstStartMonthLabel, kDstStartWeekLabel, kDstStartHourLabel},
                                {kDstEndMonthLabel, kDstEndWeekLabel, kDstEndHourLabel}};
    const int comboIds[2][3] = {{kDstStartMonth, kDstStartWeek, kDstStartHour},
                                {kDstEndMonth, kDstEndWeek, kDstEndHour}};
    const int groupIds[2] = {kDstStartGroup, kDstEndGroup};
    const char* groupTitles[2] = {"Start time", "End time"};
    const char* partNames[3] = {"Month:", "Week:", "Hour:"};
    for (int g = 0; g < 2; ++g) {
        auto* box = MakeGroup(groupIds[g], QString::fromLatin1(groupTitles[g]));
        auto* grid = NewGrid(box);
        for (int p = 0; p < 3; ++p) {
            grid->addWidget(MakeLabel(labelIds[g][p], QString::fromLatin1(partNames[p])), p, 0);
            grid->addWidget(MakeCombo(comboIds[g][p]), p, 1);
        }
        dayGrid->addWidget(box, 1, g);
    }
    layout->addWidget(daylight);

    // Calibration: offsets with their unit captions, then factors.
    auto* calibration = MakeGroup(kCalibrationGroup, QStringLiteral("Calibration"));
    auto* calLayout = new QVBoxLayout(calibration);
    calLayout->setContentsMargins(6, 4, 6, 6);
    calLayout->setSpacing(kSpacing);
    auto* offset = MakeGroup(kOffsetGroup, QStringLiteral("Offset"));
    auto* offGrid = NewGrid(offset);
    struct Row {
        int label;
        const char* text;
        int edit;
        int unit;
        const char* unitText;
    };
    const Row offsets[] = {
        {kRelPressureOffsetLabel, "Relative Pressure:", kRelPressureOffset, kRelPressureCaption,
         "hpa"},
        {kAbsPressureOffsetLabel, "Absolute Pressure:", kAbsPressureOffset, kAbsPressureCaption,
         "hpa"},
        {kTemperatureOffsetLabel, "Temperature:", kTemperatureOffset, kTemperatureOffsetCaption,
         "\u00b0C"},
        {kHumidityOffsetLabel, "Humidity:", kHumidityOffset, kHumidityOffsetCaption, "%"},
        {kWindDirectionOffsetLabel, "Wind Direction:", kWindDirectionOffset,
         kWindDirectionOffsetCaption, "\u00b0"},
    };
    int row = 0;
    for (const Row& r : offsets) {
        offGrid->addWidget(MakeLabel(r.label, QString::fromUtf8(r.text)), row, 0);
        offGrid->addWidget(MakeHintEdit(r.edit), row, 1);
        offGrid->addWidget(MakeLabel(r.unit, QString::fromUtf8(r.unitText)), row, 2);
        ++row;
    }
    offGrid->setColumnStretch(3, 1);
    calLayout->addWidget(offset);
    auto* factor = MakeGroup(kFactorGroup, QStringLiteral("Factor"));
    auto* facGrid = NewGrid(factor);
    const Row factors[] = {
        {kWindFactorLabel, "Wind:", kWindFactor, kNoId, nullptr},
        {kRainFactorLabel, "Rain fall:", kRainFactor, kNoId, nullptr},
        {kLightFactorLabel, "Light:", kLightFactor, kNoId, nullptr},
        {kUvFactorLabel, "UV:", kUvFactor, kNoId, nullptr},
    };
    row = 0;
    for (const Row& r : factors) {
        facGrid->addWidget(MakeLabel(r.label, QString::fromUtf8(r.text)), row, 0);
        facGrid->addWidget(MakeHintEdit(r.edit), row, 1);
        ++row;
    }
    facGrid->setColumnStretch(2, 1);
    calLayout->addWidget(factor);
    calLayout->addWidget(MakeButton(kSaveCalibration, QStringLiteral("Save")), 0, Qt::AlignRight);
    layout->addWidget(calibration);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildUnitColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);

    auto* unit = MakeGroup(kUnitGroup, QStringLiteral("Unit"));
    auto* unitGrid = NewGrid(unit);
    const std::pair<int, const char*> labels[] = {{kTemperatureUnitLabel, "Temperature:"},
                                                  {kLightUnitLabel, "Light:"},
                                                  {kWindUnitLabel, "Wind:"},
                                                  {kRainUnitLabel, "Rain fall:"},
                                                  {kPressureUnitLabel, "Pressure:"}};
    const int combos[] = {kTemperatureUnit, kLightUnit, kWindUnit, kRainUnit, kPressureUnit};
    for (int i = 0; i < 5; ++i) {
        unitGrid->addWidget(MakeLabel(labels[i].first, QString::fromLatin1(labels[i].second)), i,
                            0);
        unitGrid->addWidget(MakeCombo(combos[i]), i, 1);
    }
    unitGrid->setColumnStretch(2, 1);
    unitGrid->addWidget(MakeButton(kSaveUnit, QStringLiteral("Save")), 5, 0, 1, 3, Qt::AlignRight);
    layout->addWidget(unit);

    // Time zone
    auto* zone = MakeGroup(kTimeZoneGroup, QStringLiteral("Time zone"));
    auto* zoneGrid = NewGrid(zone);
    zoneGrid->addWidget(MakeLabel(kTimeZoneLabel, QStringLiteral("Time zone:")), 0, 0);
    zoneGrid->addWidget(MakeCombo(kTimeZone), 0, 1);
    zoneGrid->setColumnStretch(2, 1);
    zoneGrid->addWidget(MakeButton(kSaveTimeZone, QStringLiteral("Save")), 0, 3);
    layout->addWidget(zone);

    auto* phone = MakeGroup(kTelephoneGroup, QStringLiteral("Telephone"));
    auto* phoneGrid = NewGrid(phone);
    const int phones[] = {kTelephone1, kTelephone2, kTelephone3};
    for (int i = 0; i < 3; ++i) {
        phoneGrid->addWidget(MakeLabel(kNoId, QStringLiteral("Tel %1:").arg(i + 1)), i, 0);
        phoneGrid->addWidget(MakeEdit(phones[i]), i, 1, 1, 2);
    }
    phoneGrid->addWidget(MakeLabel(kNoId, QStringLiteral("SMS ID:")), 3, 0);
    phoneGrid->addWidget(MakeEdit(kSmsTestId), 3, 1, 1, 2);
    auto* phoneButtons = new QHBoxLayout;
    phoneButtons->addStretch(1);
    phoneButtons->addWidget(MakeButton(kSmsTest, QStringLiteral("Test")));
    phoneButtons->addWidget(MakeButton(kSaveTelephone, QStringLiteral("Save")));
    phoneGrid->addLayout(phoneButtons, 4, 0, 1, 3);
    layout->addWidget(phone);

    auto* gprs = MakeGroup(kNoId, QStringLiteral("GPRS"));
    auto* gprsGrid = NewGrid(gprs);
    gprsGrid->addWidget(MakeLabel(kNoId, QStringLiteral("APN:")), 0, 0);
    gprsGrid->addWidget(MakeEdit(kGprsApn), 0, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(kNoId, QStringLiteral("User:")), 1, 0);
    gprsGrid->addWidget(MakeEdit(kGprsUser), 1, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(kNoId, QStringLiteral("Password:")), 2, 0);
    auto* gprsPassword = MakeEdit(kGprsPassword);
    gprsPassword->setEchoMode(QLineEdit::Password);
    gprsGrid->addWidget(gprsPassword, 2, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(kSmsCheckIntervalLabel, QStringLiteral("SMS check:")), 3, 0);
    auto* smsCheck = MakeEdit(kSmsCheckInterval);
    smsCheck->setMaximumWidth(smsCheck->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                              14);
    gprsGrid->addWidget(smsCheck, 3, 1);
    gprsGrid->addWidget(MakeCombo(kSmsCheckIntervalUnit), 3, 2);
    gprsGrid->addWidget(MakeButton(kSaveGprs, QStringLiteral("Save")), 4, 0, 1, 3, Qt::AlignRight);
    layout->addWidget(gprs);

    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildWebColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);

    auto* web = MakeGroup(kWebServerGroup, QStringLiteral("Web Server"));
    auto* webGrid = NewGrid(web);
    int row = 0;
    webGrid->addWidget(MakeLabel(kWebHostLabel, QStringLiteral("Web:")), row, 0);
    auto* host = MakeCombo(kWebHost, true);
    host->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    host->setMinimumContentsLength(12);
    // A long host shows its beginning, not its tail, while nobody edits it.
    connect(host, &QComboBox::editTextChanged, host, [host] {
        if (QLineEdit* edit = host->lineEdit(); edit && !edit->hasFocus())
            edit->setCursorPosition(0);
    });
    webGrid->addWidget(host, row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(kWebIdLabel, QStringLiteral("ID:")), row, 0);
    webGrid->addWidget(MakeEdit(kWebId), row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(kWebPasswordLabel, QStringLiteral("Password:")), row, 0);
    auto* password = MakeEdit(kWebPassword);
    password->setEchoMode(QLineEdit::Password);
    webGrid->addWidget(password, row++, 1, 1, 2);
    webGrid->addWidget(MakeCheck(kShowPassword, QStringLiteral("Show Password")), row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(kServerTypeLabel, QStringLiteral("Server Type:")), row, 0);
    webGrid->addWidget(MakeCombo(kServerType), row++, 1);
    webGrid->addWidget(MakeLabel(kUploadTypeLabel, QStringLiteral("Upload Type:")), row, 0);
    webGrid->addWidget(MakeCombo(kUploadType), row++, 1);
    webGrid->addWidget(MakeLabel(kServerPortLabel, QStringLiteral("Port:")), row, 0);
    auto* port = MakeEdit(kServerPort);
    port->setMaximumWidth(port->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 14);
    webGrid->addWidget(port, row++, 1);
    auto* interval =
        MakeLabel(kUploadIntervalLabel, QStringLiteral("Web server updated interval:"));
    interval->setWordWrap(true);
    webGrid->addWidget(interval, row++, 0, 1, 3);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(MakeHintEdit(kUploadInterval));
    intervalRow->addWidget(MakeCombo(kUploadIntervalUnit));
    intervalRow->addStretch(1);
    webGrid->addLayout(intervalRow, row++, 0, 1, 3);
    webGrid->addWidget(MakeButton(kSaveWebServer, QStringLiteral("Save")), row++, 0, 1, 3,
                       Qt::AlignRight);
    webGrid->setColumnStretch(2, 1);
    layout->addWidget(web);

    auto* logger = MakeGroup(kLoggerIntervalGroup, QStringLiteral("Data Logger Interval"));
    auto* loggerGrid = NewGrid(logger);
    loggerGrid->addWidget(MakeLabel(kLoggerIntervalLabel, QStringLiteral("Data Logger:")), 0, 0);
    loggerGrid->addWidget(MakeHintEdit(kLoggerInterval), 0, 1);
    loggerGrid->addWidget(MakeLabel(kLoggerIntervalCaption, QStringLiteral("Minuet")), 0, 2);
    loggerGrid->setColumnStretch(3, 1);
    loggerGrid->addWidget(MakeButton(kSaveLoggerInterval, QStringLiteral("Save")), 1, 0, 1, 4,
                          Qt::AlignRight);
    layout->addWidget(logger);

    // The window-wide buttons, one above the other.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(MakeButton(kMaxMin, QStringLiteral("Max/Min Record")));
    buttons->addWidget(MakeButton(kSdCardFile, QStringLiteral("SDCard File")));
    buttons->addWidget(MakeButton(kRead, QStringLiteral("Read")));
    buttons->addWidget(MakeButton(kReset, QStringLiteral("Reset")));
    auto* saveAll = MakeButton(kSaveAll, QStringLiteral("Save All"));
    saveAll->setDefault(true);
    buttons->addWidget(saveAll);
    buttons->addWidget(MakeButton(kExit, QStringLiteral("Exit")));
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildAlarmColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);
    auto* alarm = MakeGroup(kAlarmGroup, QStringLiteral("Alarm"));
    auto* alarmLayout = new QVBoxLayout(alarm);
    alarmLayout->setContentsMargins(6, 4, 6, 6);
    alarmLayout->setSpacing(kSpacing);

    struct Row {
        int label;
        const char* text;
        int edit;
        int unit;
        const char* unitText;
        int check;
    };
    const Row high[] = {
        {kHighTemperatureLabel, "Temperature:", kHighTemperature, kHighTemperatureCaption,
         "\u00b0C", kHighTemperatureSwitch},
        {kHighDewPointLabel, "Dew point:", kHighDewPoint, kHighDewPointCaption, "\u00b0C",
         kHighDewPointSwitch},
        {kHighHumidityLabel, "Humidity:", kHighHumidity, kNoId, "%", kHighHumiditySwitch},
        {kHighWindLabel, "Wind:", kHighWind, kHighWindCaption, "km/h", kHighWindSwitch},
        {kHighGustLabel, "Gust:", kHighGust, kHighGustCaption, "km/h", kHighGustSwitch},
        {kHighRainRateLabel, "Rain rate:", kHighRainRate, kRainRateCaption, "mm",
         kHighRainRateSwitch},
        {kHighDailyRainLabel, "Day Rain:", kHighDailyRain, kDailyRainCaption, "mm",
         kHighDailyRainSwitch},
    };
    const Row low[] = {
        {kLowTemperatureLabel, "Temperature:", kLowTemperature, kLowTemperatureCaption, "\u00b0C",
         kLowTemperatureSwitch},
        {kLowDewPointLabel, "Dew point:", kLowDewPoint, kLowDewPointCaption, "\u00b0C",
         kLowDewPointSwitch},
        {kLowHumidityLabel, "Humidity:", kLowHumidity, kNoId, "%", kLowHumiditySwitch},
    };
    auto addRows = [this](QGroupBox* box, const Row* rows, int count) {
        auto* grid = NewGrid(box);
        for (int i = 0; i < count; ++i) {
            const Row& r = rows[i];
            grid->addWidget(MakeLabel(r.label, QString::fromUtf8(r.text)), i, 0);
            grid->addWidget(MakeHintEdit(r.edit), i, 1);
            auto* unit = MakeLabel(r.unit, QString::fromUtf8(r.unitText));
            // Room for the widest unit the caption may show.
            unit->setMinimumWidth(unit->fontMetrics().horizontalAdvance(QStringLiteral("knots")) +
                                  2);
            grid->addWidget(unit, i, 2);
            grid->addWidget(MakeCheck(r.check, QString()), i, 3);
        }
        grid->setColumnStretch(4, 1);
    };
    auto* highBox = MakeGroup(kHighAlarmGroup, QStringLiteral("High Alarm"));
    addRows(highBox, high, 7);
    alarmLayout->addWidget(highBox);
    auto* lowBox = MakeGroup(kLowAlarmGroup, QStringLiteral("Low Alarm"));
    addRows(lowBox, low, 3);
    alarmLayout->addWidget(lowBox);

    auto* grid = new QGridLayout;
    grid->setSpacing(kSpacing);
    grid->addWidget(MakeLabel(kAlarmAllLabel, QStringLiteral("Alarm All")), 0, 0);
    grid->addWidget(MakeCombo(kAlarmAll), 0, 1, 1, 2, Qt::AlignLeft);
    auto* next = MakeLabel(kAlarmSmsIntervalLabel, QStringLiteral("Next Alarm SMS Interval:"));
    next->setWordWrap(true);
    grid->addWidget(next, 1, 0, 1, 3);
    grid->addWidget(MakeHintEdit(kAlarmSmsInterval), 2, 0);
    grid->addWidget(MakeCombo(kAlarmSmsIntervalUnit), 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    alarmLayout->addLayout(grid);
    auto* note = MakeLabel(
        kAlarmSmsIntervalNote,
        QStringLiteral("If alarm still validate after this time period, then send message again."));
    note->setWordWrap(true);
    alarmLayout->addWidget(note);
    alarmLayout->addWidget(MakeButton(kSaveAlarm, QStringLiteral("Save")), 0, Qt::AlignRight);
    layout->addWidget(alarm);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildWeatherColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);
    auto* weather = MakeGroup(kCurrentWeatherGroup, QStringLiteral("Current Weather"));
    auto* grid = NewGrid(weather);
    grid->setVerticalSpacing(2);
    const std::pair<int, const char*> labels[] = {{kNowTemperatureLabel, "Temperature:"},
                                                  {kNowHumidityLabel, "Humidity:"},
                                                  {kNowAbsPressureLabel, "Absolute Pressure:"},
                                                  {kNowRelPressureLabel, "Relative Pressure:"},
                                                  {kNowWindLabel, "Wind:"},
                                                  {kNowGustLabel, "Gust:"},
                                                  {kNowDewPointLabel, "Dew point:"},
                                                  {kNowWindDirectionLabel, "Wind Direction:"},
                                                  {kNowRainRateLabel, "Rain rate:"},
                                                  {kNowRainDayLabel, "Day Rain:"},
                                                  {kNowRainWeekLabel, "Week Rain:"},
                                                  {kNowRainMonthLabel, "Month Rain:"},
                                                  {kNowRainYearLabel, "Year Rain:"},
                                                  {kNowLightLabel, "Light:"},
                                                  {kNowUvLabel, "UV:"},
                                                  {kNowUvIndexLabel, "UVI:"},
                                                  {kNowBatteryLabel, "Battery:"},
                                                  {kNowTimeLabel, "Time:"}};
    const int values[] = {kNowTemperature, kNowHumidity, kNowAbsPressure, kNowRelPressure,
                          kNowWind,        kNowGust,     kNowDewPoint,    kNowWindDirection,
                          kNowRainRate,    kNowRainDay,  kNowRainWeek,    kNowRainMonth,
                          kNowRainYear,    kNowLight,    kNowUv,          kNowUvIndex,
                          kNowBattery,     kNowTime};
    int row = 0;
    for (int i = 0; i < 18; ++i, ++row) {
        grid->addWidget(MakeLabel(labels[i].first, QString::fromLatin1(labels[i].second)), row, 0);
        grid->addWidget(MakeValue(values[i]), row, 1);
    }
    auto* send = MakeLabel(kSendCurrentIntervalLabel, QStringLiteral("Send Current Interval:"));
    send->setWordWrap(true);
    grid->addWidget(send, row++, 0, 1, 2);
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(MakeHintEdit(kSendCurrentInterval));
    sendRow->addWidget(MakeCombo(kSendCurrentIntervalUnit));
    sendRow->addStretch(1);
    sendRow->addWidget(MakeButton(kSaveSendCurrent, QStringLiteral("Save")));
    grid->addLayout(sendRow, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(weather);
    layout->addStretch(1);
    return column;
}

void CWriteSetting::BuildLayout() {
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->setSpacing(4);
    columns->addWidget(BuildTimeColumn());
    columns->addWidget(BuildUnitColumn());
    columns->addWidget(BuildWebColumn());
    columns->addWidget(BuildAlarmColumn());
    columns->addWidget(BuildWeatherColumn());

    // Controls that no user ever sees but that other parts of the program
    // read or set: kept off the layout and hidden.
    auto* hidden = new QWidget(content);
    hidden->hide();
    auto hide = [&](int id, QWidget* w) {
        w->setParent(hidden);
        w->hide();
        m_controls->Register(id, w);
    };
    hide(kHiddenIntervalSteps, new QComboBox);
    hide(kHiddenIntervalUnit, new QComboBox);
    hide(kHiddenServerType, new QComboBox);
    for (int id = kDstStartMonthHint; id <= kDstEndHourHint; ++id) {
        auto* edit = MakeHintEdit(id);
        edit->setParent(hidden);
        edit->hide();
    }
    // Each radio pair in its own parent, so the pairs stay independent.
    auto radioPair = [&](int first, const QString& firstText, int second,
                         const QString& secondText) {
        auto* pair = new QWidget(hidden);
        auto* a = new QRadioButton(firstText, pair);
        auto* b = new QRadioButton(secondText, pair);
        a->hide();
        b->hide();
        m_controls->Register(first, a);
        m_controls->Register(second, b);
    };
    radioPair(kHiddenSecondRadio, QStringLiteral("Second"), kHiddenMinuteRadio,
              QStringLiteral("Minute"));
    radioPair(kCelsiusRadio, QStringLiteral("\u00b0C"), kFahrenheitRadio,
              QStringLiteral("\u00b0F"));

    m_scroll = new QScrollArea;
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->viewport()->installEventFilter(this);
    content->installEventFilter(this);
    setCentralWidget(m_scroll);

    m_statusHint = new QLabel;
    m_statusLink = new QLabel;
    m_statusLink->setMinimumWidth(
        m_statusLink->fontMetrics().horizontalAdvance(QStringLiteral("UnConnected")) + 40);
    statusBar()->addWidget(m_statusHint, 1);
    statusBar()->addPermanentWidget(m_statusLink);
    statusBar()->setSizeGripEnabled(true);
    m_controls->SetStatusParts(m_statusHint, m_statusLink);
}

}  // namespace orvane
