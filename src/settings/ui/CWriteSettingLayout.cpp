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

namespace orvane {

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
    if (id > 0) m_controls->Register(id, label);
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
    // Numbers only: wide enough for "-1000.00", no wider and no narrower.
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
    if (id > 0) m_controls->Register(id, group);
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
    auto* time = MakeGroup(1215, QStringLiteral("Time"));
    auto* timeGrid = NewGrid(time);
    auto* date = new QDateEdit;
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_controls->Register(1021, date);
    auto* clock = new QTimeEdit;
    clock->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_controls->Register(1020, clock);
    timeGrid->addWidget(MakeLabel(1216, QStringLiteral("Time:")), 0, 0);
    timeGrid->addWidget(date, 0, 1);
    timeGrid->addWidget(clock, 0, 2);
    timeGrid->addWidget(MakeButton(1005, QStringLiteral("Sync")), 0, 3);
    timeGrid->setColumnStretch(4, 1);
    layout->addWidget(time);

    // Daylight: DST switch, start and end side by side, Save.
    auto* daylight = MakeGroup(1217, QStringLiteral("Daylight"));
    auto* dayGrid = NewGrid(daylight);
    dayGrid->addWidget(MakeCheck(1034, QStringLiteral("DST")), 0, 0);
    dayGrid->addWidget(MakeButton(1028, QStringLiteral("Save")), 0, 1, Qt::AlignRight);
    const int labelIds[2][3] = {{1160, 1161, 1162}, {1163, 1164, 1165}};
    const int comboIds[2][3] = {{1135, 1136, 1137}, {1138, 1139, 1140}};
    const int groupIds[2] = {1218, 1219};
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
    auto* calibration = MakeGroup(1220, QStringLiteral("Calibration"));
    auto* calLayout = new QVBoxLayout(calibration);
    calLayout->setContentsMargins(6, 4, 6, 6);
    calLayout->setSpacing(kSpacing);
    auto* offset = MakeGroup(1221, QStringLiteral("Offset"));
    auto* offGrid = NewGrid(offset);
    struct Row {
        int label;
        const char* text;
        int edit;
        int unit;
        const char* unitText;
    };
    const Row offsets[] = {
        {1142, "Relative Pressure:", 1127, 1130, "hpa"},
        {1145, "Absolute Pressure:", 1126, 1129, "hpa"},
        {1143, "Temperature:", 1001, 1128, "\u00b0C"},
        {1146, "Humidity:", 1002, 1131, "%"},
        {1148, "Wind Direction:", 1000, 1134, "\u00b0"},
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
    auto* factor = MakeGroup(1222, QStringLiteral("Factor"));
    auto* facGrid = NewGrid(factor);
    const Row factors[] = {
        {1144, "Wind:", 1003, 0, nullptr},
        {1149, "Rain fall:", 1004, 0, nullptr},
        {1150, "Light:", 1006, 0, nullptr},
        {1147, "UV:", 1008, 0, nullptr},
    };
    row = 0;
    for (const Row& r : factors) {
        facGrid->addWidget(MakeLabel(r.label, QString::fromUtf8(r.text)), row, 0);
        facGrid->addWidget(MakeHintEdit(r.edit), row, 1);
        ++row;
    }
    facGrid->setColumnStretch(2, 1);
    calLayout->addWidget(factor);
    calLayout->addWidget(MakeButton(1007, QStringLiteral("Save")), 0, Qt::AlignRight);
    layout->addWidget(calibration);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildUnitColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);

    auto* unit = MakeGroup(1223, QStringLiteral("Unit"));
    auto* unitGrid = NewGrid(unit);
    const std::pair<int, const char*> labels[] = {{1151, "Temperature:"},
                                                  {1152, "Light:"},
                                                  {1153, "Wind:"},
                                                  {1155, "Rain fall:"},
                                                  {1154, "Pressure:"}};
    const int combos[] = {1009, 1010, 1011, 1012, 1079};
    for (int i = 0; i < 5; ++i) {
        unitGrid->addWidget(MakeLabel(labels[i].first, QString::fromLatin1(labels[i].second)), i,
                            0);
        unitGrid->addWidget(MakeCombo(combos[i]), i, 1);
    }
    unitGrid->setColumnStretch(2, 1);
    unitGrid->addWidget(MakeButton(1013, QStringLiteral("Save")), 5, 0, 1, 3, Qt::AlignRight);
    layout->addWidget(unit);

    // Time zone
    auto* zone = MakeGroup(1228, QStringLiteral("Time zone"));
    auto* zoneGrid = NewGrid(zone);
    zoneGrid->addWidget(MakeLabel(1141, QStringLiteral("Time zone:")), 0, 0);
    zoneGrid->addWidget(MakeCombo(1014), 0, 1);
    zoneGrid->setColumnStretch(2, 1);
    zoneGrid->addWidget(MakeButton(1015, QStringLiteral("Save")), 0, 3);
    layout->addWidget(zone);

    auto* phone = MakeGroup(1229, QStringLiteral("Telephone"));
    auto* phoneGrid = NewGrid(phone);
    const int phones[] = {1031, 1032, 1033};
    for (int i = 0; i < 3; ++i) {
        phoneGrid->addWidget(MakeLabel(0, QStringLiteral("Tel %1:").arg(i + 1)), i, 0);
        phoneGrid->addWidget(MakeEdit(phones[i]), i, 1, 1, 2);
    }
    phoneGrid->addWidget(MakeLabel(0, QStringLiteral("SMS ID:")), 3, 0);
    phoneGrid->addWidget(MakeEdit(1185), 3, 1, 1, 2);
    auto* phoneButtons = new QHBoxLayout;
    phoneButtons->addStretch(1);
    phoneButtons->addWidget(MakeButton(1186, QStringLiteral("Test")));
    phoneButtons->addWidget(MakeButton(1027, QStringLiteral("Save")));
    phoneGrid->addLayout(phoneButtons, 4, 0, 1, 3);
    layout->addWidget(phone);

    auto* gprs = MakeGroup(0, QStringLiteral("GPRS"));
    auto* gprsGrid = NewGrid(gprs);
    gprsGrid->addWidget(MakeLabel(0, QStringLiteral("APN:")), 0, 0);
    gprsGrid->addWidget(MakeEdit(1048), 0, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(0, QStringLiteral("User:")), 1, 0);
    gprsGrid->addWidget(MakeEdit(1049), 1, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(0, QStringLiteral("Password:")), 2, 0);
    auto* gprsPassword = MakeEdit(1050);
    gprsPassword->setEchoMode(QLineEdit::Password);
    gprsGrid->addWidget(gprsPassword, 2, 1, 1, 2);
    gprsGrid->addWidget(MakeLabel(1187, QStringLiteral("SMS check:")), 3, 0);
    auto* smsCheck = MakeEdit(1192);
    smsCheck->setMaximumWidth(smsCheck->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                              14);
    gprsGrid->addWidget(smsCheck, 3, 1);
    gprsGrid->addWidget(MakeCombo(1188), 3, 2);
    gprsGrid->addWidget(MakeButton(1051, QStringLiteral("Save")), 4, 0, 1, 3, Qt::AlignRight);
    layout->addWidget(gprs);

    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildWebColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);

    auto* web = MakeGroup(1224, QStringLiteral("Web Server"));
    auto* webGrid = NewGrid(web);
    int row = 0;
    webGrid->addWidget(MakeLabel(1166, QStringLiteral("Web:")), row, 0);
    auto* host = MakeCombo(1077, true);
    host->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    host->setMinimumContentsLength(12);
    // A long host shows its beginning, not its tail, while nobody edits it.
    connect(host, &QComboBox::editTextChanged, host, [host] {
        if (QLineEdit* edit = host->lineEdit(); edit && !edit->hasFocus())
            edit->setCursorPosition(0);
    });
    webGrid->addWidget(host, row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(1167, QStringLiteral("ID:")), row, 0);
    webGrid->addWidget(MakeEdit(1042), row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(1168, QStringLiteral("Password:")), row, 0);
    auto* password = MakeEdit(1043);
    password->setEchoMode(QLineEdit::Password);
    webGrid->addWidget(password, row++, 1, 1, 2);
    webGrid->addWidget(MakeCheck(1214, QStringLiteral("Show Password")), row++, 1, 1, 2);
    webGrid->addWidget(MakeLabel(1169, QStringLiteral("Server Type:")), row, 0);
    webGrid->addWidget(MakeCombo(1045), row++, 1);
    webGrid->addWidget(MakeLabel(1170, QStringLiteral("Upload Type:")), row, 0);
    webGrid->addWidget(MakeCombo(1046), row++, 1);
    webGrid->addWidget(MakeLabel(1171, QStringLiteral("Port:")), row, 0);
    auto* port = MakeEdit(1044);
    port->setMaximumWidth(port->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 14);
    webGrid->addWidget(port, row++, 1);
    auto* interval = MakeLabel(1159, QStringLiteral("Web server updated interval:"));
    interval->setWordWrap(true);
    webGrid->addWidget(interval, row++, 0, 1, 3);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(MakeHintEdit(1019));
    intervalRow->addWidget(MakeCombo(1190));
    intervalRow->addStretch(1);
    webGrid->addLayout(intervalRow, row++, 0, 1, 3);
    webGrid->addWidget(MakeButton(1047, QStringLiteral("Save")), row++, 0, 1, 3, Qt::AlignRight);
    webGrid->setColumnStretch(2, 1);
    layout->addWidget(web);

    auto* logger = MakeGroup(1232, QStringLiteral("Data Logger Interval"));
    auto* loggerGrid = NewGrid(logger);
    loggerGrid->addWidget(MakeLabel(1158, QStringLiteral("Data Logger:")), 0, 0);
    loggerGrid->addWidget(MakeHintEdit(1023), 0, 1);
    loggerGrid->addWidget(MakeLabel(1193, QStringLiteral("Minuet")), 0, 2);
    loggerGrid->setColumnStretch(3, 1);
    loggerGrid->addWidget(MakeButton(1026, QStringLiteral("Save")), 1, 0, 1, 4, Qt::AlignRight);
    layout->addWidget(logger);

    // The window-wide buttons, one above the other.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(MakeButton(1195, QStringLiteral("Max/Min Record")));
    buttons->addWidget(MakeButton(1199, QStringLiteral("SDCard File")));
    buttons->addWidget(MakeButton(1073, QStringLiteral("Read")));
    buttons->addWidget(MakeButton(1016, QStringLiteral("Reset")));
    auto* saveAll = MakeButton(1, QStringLiteral("Save All"));
    saveAll->setDefault(true);
    buttons->addWidget(saveAll);
    buttons->addWidget(MakeButton(2, QStringLiteral("Exit")));
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildAlarmColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);
    auto* alarm = MakeGroup(1231, QStringLiteral("Alarm"));
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
        {1172, "Temperature:", 1052, 1059, "\u00b0C", 1063},
        {1173, "Dew point:", 1053, 1060, "\u00b0C", 1064},
        {1174, "Humidity:", 1054, 0, "%", 1065},
        {1175, "Wind:", 1055, 1118, "km/h", 1066},
        {1176, "Gust:", 1056, 1119, "km/h", 1067},
        {1177, "Rain rate:", 1058, 1121, "mm", 1068},
        {1178, "Day Rain:", 1057, 1120, "mm", 1069},
    };
    const Row low[] = {
        {1179, "Temperature:", 1086, 1093, "\u00b0C", 1095},
        {1180, "Dew point:", 1087, 1094, "\u00b0C", 1096},
        {1181, "Humidity:", 1088, 0, "%", 1097},
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
    auto* highBox = MakeGroup(1225, QStringLiteral("High Alarm"));
    addRows(highBox, high, 7);
    alarmLayout->addWidget(highBox);
    auto* lowBox = MakeGroup(1226, QStringLiteral("Low Alarm"));
    addRows(lowBox, low, 3);
    alarmLayout->addWidget(lowBox);

    auto* grid = new QGridLayout;
    grid->setSpacing(kSpacing);
    grid->addWidget(MakeLabel(1227, QStringLiteral("Alarm All")), 0, 0);
    grid->addWidget(MakeCombo(1211), 0, 1, 1, 2, Qt::AlignLeft);
    auto* next = MakeLabel(1156, QStringLiteral("Next Alarm SMS Interval:"));
    next->setWordWrap(true);
    grid->addWidget(next, 1, 0, 1, 3);
    grid->addWidget(MakeHintEdit(1018), 2, 0);
    grid->addWidget(MakeCombo(1189), 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    alarmLayout->addLayout(grid);
    auto* note = MakeLabel(
        1235,
        QStringLiteral("If alarm still validate after this time period, then send message again."));
    note->setWordWrap(true);
    alarmLayout->addWidget(note);
    alarmLayout->addWidget(MakeButton(1070, QStringLiteral("Save")), 0, Qt::AlignRight);
    layout->addWidget(alarm);
    layout->addStretch(1);
    return column;
}

QWidget* CWriteSetting::BuildWeatherColumn() {
    auto* column = new QWidget;
    auto* layout = NewColumn(column);
    auto* weather = MakeGroup(1230, QStringLiteral("Current Weather"));
    auto* grid = NewGrid(weather);
    grid->setVerticalSpacing(2);
    const std::pair<int, const char*> labels[] = {{1101, "Temperature:"},
                                                  {1102, "Humidity:"},
                                                  {1124, "Absolute Pressure:"},
                                                  {1125, "Relative Pressure:"},
                                                  {1103, "Wind:"},
                                                  {1104, "Gust:"},
                                                  {1105, "Dew point:"},
                                                  {1106, "Wind Direction:"},
                                                  {1107, "Rain rate:"},
                                                  {1108, "Day Rain:"},
                                                  {1109, "Week Rain:"},
                                                  {1110, "Month Rain:"},
                                                  {1111, "Year Rain:"},
                                                  {1112, "Light:"},
                                                  {1113, "UV:"},
                                                  {1115, "UVI:"},
                                                  {1133, "Battery:"},
                                                  {1117, "Time:"}};
    const int values[] = {1080, 1081, 1122, 1123, 1082, 1083, 1084, 1085, 1089,
                          1090, 1091, 1092, 1098, 1099, 1100, 1114, 1132, 1116};
    int row = 0;
    for (int i = 0; i < 18; ++i, ++row) {
        grid->addWidget(MakeLabel(labels[i].first, QString::fromLatin1(labels[i].second)), row, 0);
        grid->addWidget(MakeValue(values[i]), row, 1);
    }
    auto* send = MakeLabel(1157, QStringLiteral("Send Current Interval:"));
    send->setWordWrap(true);
    grid->addWidget(send, row++, 0, 1, 2);
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(MakeHintEdit(1191));
    sendRow->addWidget(MakeCombo(1183));
    sendRow->addStretch(1);
    sendRow->addWidget(MakeButton(1078, QStringLiteral("Save")));
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
    hide(1022, new QComboBox);
    hide(1184, new QComboBox);
    hide(1182, new QComboBox);
    for (int id = 1035; id <= 1040; ++id) {
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
    radioPair(1024, QStringLiteral("Second"), 1025, QStringLiteral("Minute"));
    radioPair(1061, QStringLiteral("\u00b0C"), 1062, QStringLiteral("\u00b0F"));

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
