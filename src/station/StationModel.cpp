#include "StationModel.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>

#include "Clock.h"
#include "StationWeather.h"

namespace orvane {

namespace {

QString Fixed(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    // "-0.0" reads oddly on a display; the station shows 0.0.
    if (text.startsWith('-') && text.toDouble() == 0.0) text.remove(0, 1);
    return text;
}

const QStringList kTemperatureUnits{"C", "F"};
const QStringList kLightUnits{"fc", "lux", "w/m2"};
const QStringList kWindUnits{"km/h", "mph", "knots", "m/s", "bft"};
const QStringList kRainUnits{"mm", "inch"};
const QStringList kPressureUnits{"hpa", "mmHg", "inHg"};

// Speed in m/s to Beaufort force, thresholds in tenths of m/s.
int Beaufort(double metresPerSecond) {
    static const int kThresholds[] = {3, 15, 34, 54, 79, 107, 138, 171, 207, 244, 284, 326};
    const double t = metresPerSecond * 10.0;
    int force = 0;
    while (force < 12 && t >= kThresholds[force]) ++force;
    return force;
}

// The display formatting of the configured units.
struct Units {
    QString temperature, light, wind, rain, pressure;

    explicit Units(const StationConfig& c)
        : temperature(c.temperatureUnit),
          light(c.lightUnit),
          wind(c.windUnit),
          rain(c.rainUnit),
          pressure(c.pressureUnit) {}

    bool Fahrenheit() const { return temperature == "F"; }
    QString Temperature(double celsius) const {
        return Fixed(Fahrenheit() ? celsius * 1.8 + 32.0 : celsius, 1) + temperature;
    }
    QString TemperatureDifference(double celsius) const {
        return Fixed(Fahrenheit() ? celsius * 1.8 : celsius, 1) + temperature;
    }
    QString WindNumber(double metresPerSecond) const {
        if (wind == "km/h") return Fixed(metresPerSecond * 3.6, 1);
        if (wind == "mph") return Fixed(metresPerSecond * 2.236936, 1);
        if (wind == "knots") return Fixed(metresPerSecond * 1.943844, 1);
        if (wind == "bft") return QString::number(Beaufort(metresPerSecond));
        return Fixed(metresPerSecond, 1);
    }
    QString Wind(double metresPerSecond) const { return WindNumber(metresPerSecond) + wind; }
    QString RainNumber(double mm) const {
        return rain == "inch" ? Fixed(mm * 0.03937, 2) : Fixed(mm, 1);
    }
    QString Rain(double mm) const { return RainNumber(mm) + rain; }
    QString PressureNumber(double hpa) const {
        if (pressure == "mmHg") return Fixed(hpa / 1.3333, 2);
        if (pressure == "inHg") return Fixed(hpa / 33.8638, 2);
        return Fixed(hpa, 1);
    }
    QString Pressure(double hpa) const { return PressureNumber(hpa) + pressure; }
    QString LightNumber(double lux) const {
        if (light == "fc") return Fixed(lux / 10.764, 1);
        if (light == "w/m2") return Fixed(lux / 126.7, 1);
        return Fixed(lux, 0);
    }
    QString Light(double lux) const { return LightNumber(lux) + light; }
};

QString OnOff(bool on) {
    return on ? "On" : "Off";
}

QString Clock3(int month, int week, int hour) {
    return QString("%1:%2:%3").arg(month, 2, 10, QChar('0')).arg(week).arg(hour, 2, 10, QChar('0'));
}

// Number readings that the station accepts in a write: the whole value must
// be the number, not only its start.
std::optional<double> Decimal(const QString& text) {
    static const QRegularExpression pattern(R"(^[-+]?(\d+\.?\d*|\.\d+)$)");
    if (!pattern.match(text).hasMatch()) return std::nullopt;
    return text.toDouble();
}

std::optional<int> Integer(const QString& text) {
    static const QRegularExpression pattern("^[-+]?\\d{1,6}$");
    if (!pattern.match(text).hasMatch()) return std::nullopt;
    return text.toInt();
}

// The leading whole part, as the window's range tests see a value.
bool WholePartWithin(double value, int low, int high) {
    const double whole = std::trunc(value);
    return whole >= low && whole <= high;
}

bool Within(double value, double low, double high) {
    return value >= low - 1e-9 && value <= high + 1e-9;
}

// An interval as written: a number and "h" or "m", or "0m" for off.
bool IntervalOk(const QString& value, int maxHours, int minMinutes, int maxMinutes, bool allowOn) {
    if (allowOn && value == "on") return true;
    if (value == "0m" || value == "0h") return true;
    static const QRegularExpression pattern(R"(^\s*(\d+)(\.\d*)?([hm])$)");
    const auto match = pattern.match(value);
    if (!match.hasMatch()) return false;
    const int number = match.captured(1).toInt();
    if (match.captured(3) == "h") return maxHours > 0 && number >= 1 && number <= maxHours;
    return number >= minMinutes && number <= maxMinutes;
}

struct LogFile {
    QByteArray bytes;
    bool isLog = false;  // generated here, so records can be appended
    // A generated log is written on first use, with the configuration of
    // its creation, so that its bytes depend on the seed alone.
    bool written = true;
    QDateTime firstTime;
    QDateTime stopTime;
    StationConfig config;
    Units units{StationConfig{}};
    int lastNumber = 0;
    QDateTime lastTime;
};

// Max/min of one quantity over a span, with the time each was reached.
struct Extreme {
    double max = -1e300, min = 1e300;
    QDateTime maxAt, minAt;
    void Take(double value, const QDateTime& at) {
        if (value > max) max = value, maxAt = at;
        if (value < min) min = value, minAt = at;
    }
};

}  // namespace

struct StationModel::State {
    State(std::uint32_t s, StationModelOptions o) : seed(s), options(std::move(o)), weather(s) {}

    std::uint32_t seed;
    StationModelOptions options;
    StationWeather weather;
    StationConfig config;
    QDateTime utcBase;      // station clock (UTC) when last set
    QDateTime clockAtBase;  // the driving clock's UTC at that moment
    std::optional<StationReadings> readingsOverride;
    QDateTime historySince;  // start of the max/min history
    int maxMinResets = 0;
    int smsTestsSent = 0;
    std::map<QString, LogFile> files;  // sorted by name: the card's order
    std::vector<QString> fileOrder;

    QDateTime Now() const {
        QDateTime utc = utcBase;
        if (options.clock && clockAtBase.isValid())
            utc = utc.addMSecs(clockAtBase.msecsTo(options.clock->UtcNow()));
        // The station keeps local time as a plain date and time.
        const QDateTime local = utc.addSecs(config.timeZone * 3600);
        return QDateTime(local.date(), local.time(), Qt::UTC);
    }

    void SetNow(const QDateTime& local) {
        const QDateTime plain(local.date(), local.time(), Qt::UTC);
        utcBase = plain.addSecs(-config.timeZone * 3600);
        clockAtBase = options.clock ? options.clock->UtcNow() : QDateTime();
    }

    StationReadings Calibrated(StationReadings r) const { return Calibrated(r, config); }
    static StationReadings Calibrated(StationReadings r, const StationConfig& config) {
        r.temperature += config.temperatureOffset;
        r.humidity = std::clamp(r.humidity + config.humidityOffset, 1, 99);
        r.absPressure += config.absPressureOffset;
        r.relPressure = r.relPressure - 0.0 + config.relPressureOffset;
        r.wind *= config.windFactor;
        r.gust *= config.windFactor;
        r.windDirection = ((r.windDirection + config.windDirectionOffset) % 360 + 360) % 360;
        r.rainRate *= config.rainFactor;
        r.rainDay *= config.rainFactor;
        r.rainWeek *= config.rainFactor;
        r.rainMonth *= config.rainFactor;
        r.rainYear *= config.rainFactor;
        r.light *= config.lightFactor;
        r.uv = static_cast<int>(std::lround(r.uv * config.uvFactor));
        return r;
    }

    StationReadings Readings(const QDateTime& at) const { return Calibrated(weather.At(at)); }

    StationReadings Current() const {
        return readingsOverride ? *readingsOverride : Readings(Now());
    }

    QString Field(int number) const;
    QByteArray Settings() const;
    QByteArray NowData() const;
    QByteArray MaxMin() const;

    QByteArray Header(const Units& u) const;
    QByteArray Record(const LogFile& file, int number, const QDateTime& at) const;
    void GenerateFiles();
    // The file, written out if it was not yet; null when there is none.
    LogFile* File(const QString& name);
    bool Apply(const QString& request);
};

QString StationModel::State::Field(int number) const {
    const StationConfig& c = config;
    const Units u(c);
    switch (number) {
        case 1:
            return c.temperatureUnit;
        case 2:
            return c.lightUnit;
        case 3:
            return c.windUnit;
        case 4:
            return c.rainUnit;
        case 5:
            return c.pressureUnit;
        case 6:
            return QString::number(c.windDirectionOffset);
        case 7:
            return u.TemperatureDifference(c.temperatureOffset);
        case 8:
            return QString::number(c.humidityOffset);
        case 9:
            return Fixed(c.windFactor, 2);
        case 10:
            return Fixed(c.rainFactor, 2);
        case 11:
            return Fixed(c.lightFactor, 2);
        case 12:
            return Fixed(c.uvFactor, 2);
        case 13:
            return u.Pressure(c.absPressureOffset);
        case 14:
            return u.Pressure(c.relPressureOffset);
        case 15:
            return QString::number(c.timeZone);
        case 16:
            return c.alarmSmsInterval;
        case 17:
            return c.sendCurrentInterval;
        case 18:
            return c.loggerInterval;
        case 19:
            return c.uploadInterval;
        case 20:
            return c.smsCheckInterval;
        case 21:
            return c.telephone1;
        case 22:
            return c.telephone2;
        case 23:
            return c.telephone3;
        case 24:
            return c.dstEnabled ? "1" : "0";
        case 25:
            return Clock3(c.dstStartMonth, c.dstStartWeek, c.dstStartHour);
        case 26:
            return Clock3(c.dstEndMonth, c.dstEndWeek, c.dstEndHour);
        case 27:
            return c.webHost;
        case 28:
            return c.webId;
        case 29:
            return c.webPassword;
        case 30:
            return c.serverType;
        case 31:
            return QString::number(c.uploadType);
        case 32:
            return c.serverPort;
        case 33:
            return c.gprsApn;
        case 34:
            return c.gprsUser;
        case 35:
            return c.gprsPassword;
        case 36:
            return u.Temperature(c.highTemperature);
        case 37:
            return u.Temperature(c.highDewPoint);
        case 38:
            return QString::number(c.highHumidity);
        case 39:
            return u.Wind(c.highWind);
        case 40:
            return u.Wind(c.highGust);
        case 41:
            return u.Rain(c.highRainRate);
        case 42:
            return u.Rain(c.highDailyRain);
        case 43:
            return u.Temperature(c.lowTemperature);
        case 44:
            return u.Temperature(c.lowDewPoint);
        case 45:
            return QString::number(c.lowHumidity);
        case 46:
            return OnOff(c.lowTemperatureSwitch);
        case 47:
            return OnOff(c.lowDewPointSwitch);
        case 48:
            return OnOff(c.lowHumiditySwitch);
        case 49:
            return OnOff(c.highTemperatureSwitch);
        case 50:
            return OnOff(c.highDewPointSwitch);
        case 51:
            return OnOff(c.highHumiditySwitch);
        case 52:
            return OnOff(c.highWindSwitch);
        case 53:
            return OnOff(c.highGustSwitch);
        case 54:
            return OnOff(c.highRainRateSwitch);
        case 55:
            return OnOff(c.highDailyRainSwitch);
        case 56:
            return QString::number(c.alarmAll);
        case 57:
            return c.smsTestId;
        default:
            return {};
    }
}

QByteArray StationModel::State::Settings() const {
    // Blocks of key=value pairs; the reader counts the "=" signs, so every
    // field is one pair and the order is the field order.
    struct Block {
        const char* name;
        std::vector<const char*> keys;
    };
    static const std::vector<Block> kBlocks = {
        {"Unit", {"Temperature", "Light", "Wind", "Rainfall", "Pressure"}},
        {"Offset",
         {"Wind dir", "Temperature", "Humidity", "Wind", "Rain fall", "Light", "UV", "Abs Pressure",
          "Rel Pressure"}},
        {"", {"time zone"}},
        {"Interval", {"Alarm", "Send", "Save", "Update", "Receive SMS"}},
        {"Telephone", {"1", "2", "3"}},
        {"Daylight", {"DST", "start time", "end time"}},
        {"Weather server", {"Web", "ID", "Password", "Server type", "Upload type", "Port"}},
        {"GPRS", {"APN", "User", "Password"}},
        {"Alarm high",
         {"Temperature", "Dew Point", "Humidity", "Wind", "Gust", "Rain Rate", "Daily Rain"}},
        {"Alarm low", {"Temperature", "Dew Point", "Humidity"}},
        {"low switch", {"Temperature", "Dew Point", "Humidity"}},
        {"high switch",
         {"Temperature", "Dew Point", "Humidity", "Wind", "Gust", "Rain Rate", "Daily Rain"}},
        {"Alarm switch", {"All"}},
        {"SMS TEST", {"ID"}},
    };
    QString text = "Setting:\r\n";
    int field = 1;
    for (const Block& block : kBlocks) {
        QStringList pairs;
        for (const char* key : block.keys) pairs << QString(key) + "=" + Field(field++);
        if (*block.name)
            text += QString(block.name) + "<" + pairs.join('&') + ">\r\n";
        else
            text += pairs.join('&') + "\r\n";
    }
    text += "@";
    return text.toLatin1();
}

QByteArray StationModel::State::NowData() const {
    const StationReadings r = Current();
    const Units u(config);
    const QDateTime now = Now();
    const QStringList lines = {
        "Temperature:" + u.Temperature(r.temperature),
        "Humidity:" + QString::number(r.humidity) + "%",
        "Abs Pressure:" + u.Pressure(r.absPressure),
        "Rel Pressure:" + u.Pressure(r.relPressure),
        "Wind:" + u.Wind(r.wind),
        "Gust:" + u.Wind(r.gust),
        "Dew Point:" + u.Temperature(r.dewPoint),
        "Wind dir:" + QString::number(r.windDirection) + "deg",
        "Rain rate:" + u.Rain(r.rainRate),
        "Rain day:" + u.Rain(r.rainDay),
        "Rain week:" + u.Rain(r.rainWeek),
        "Rain month:" + u.Rain(r.rainMonth),
        "Rain year:" + u.Rain(r.rainYear),
        "Light:" + u.Light(r.light),
        "UV:" + QString::number(r.uv),
        "UVI:" + QString::number(r.uvIndex),
        "Battery:" + Fixed(r.battery, 2) + "v",
        "Time:" + now.toString("yyyy-MM-dd&hh:mm:ss"),
    };
    return ("Now Data:\r\n" + lines.join("\r\n") + "\r\n@").toLatin1();
}

QByteArray StationModel::State::MaxMin() const {
    enum { kTemp, kHumi, kDew, kWind, kGust, kRate, kDay, kWeek, kMonth, kYear, kLight, kCount };
    static const char* kKeywords[kCount] = {"Temp",      "Humi",     "Dewpoint", "Wind",
                                            "Gust",      "Rainrate", "DayRain",  "WeekRain",
                                            "MonthRain", "YearRain", "Light"};
    const QDateTime now = Now();
    const Units u(config);
    auto values = [](const StationReadings& r) {
        return std::array<double, kCount>{r.temperature, double(r.humidity), r.dewPoint, r.wind,
                                          r.gust,        r.rainRate,         r.rainDay,  r.rainWeek,
                                          r.rainMonth,   r.rainYear,         r.light};
    };
    auto collect = [&](QDateTime from) {
        std::array<Extreme, kCount> extremes;
        if (from > now) from = now;
        // Sample the span at the logging interval, over at most a year and
        // in at most some ten thousand steps.
        if (from.secsTo(now) > 366LL * 86400) from = now.addDays(-366);
        const qint64 step = std::max<qint64>(std::max(1, options.logIntervalMinutes) * 60,
                                             from.secsTo(now) / 10000);
        for (QDateTime at = from; at <= now; at = at.addSecs(step)) {
            const auto v = values(Readings(at));
            for (int i = 0; i < kCount; ++i) extremes[i].Take(v[i], at);
        }
        const auto v = values(Current());
        for (int i = 0; i < kCount; ++i) extremes[i].Take(v[i], now);
        return extremes;
    };
    auto format = [&](int quantity, double value) {
        switch (quantity) {
            case kTemp:
            case kDew:
                return u.Temperature(value);
            case kHumi:
                return QString::number(std::lround(value)) + "%";
            case kWind:
            case kGust:
                return u.Wind(value);
            case kLight:
                return u.Light(value);
            default:
                return u.Rain(value);
        }
    };
    auto block = [&](const char* title, const std::array<Extreme, kCount>& extremes, bool max) {
        QString text = QString(title) + "\r\n";
        for (int i = 0; i < kCount; ++i) {
            const double value = max ? extremes[i].max : extremes[i].min;
            const QDateTime at = max ? extremes[i].maxAt : extremes[i].minAt;
            text += QString(kKeywords[i]) + ":" + format(i, value) + " " +
                    at.toString("yyyy-MM-dd hh:mm") + "\r\n";
        }
        return text;
    };
    const auto history = collect(historySince);
    QDateTime midnight(now.date(), QTime(0, 0), Qt::UTC);
    const auto today = collect(std::max(midnight, historySince));
    const QString text = "MAX MIN:\r\n" + block("History Max", history, true) +
                         block("History Min", history, false) + block("Today Max", today, true) +
                         block("Today Min", today, false) + "@";
    return text.toLatin1();
}

QByteArray StationModel::State::Header(const Units& u) const {
    const QString t = u.temperature == "F" ? "\u00B0F" : "\u00B0C";
    const QStringList titles = {"No",
                                "Time",
                                "Temp(" + t + ")",
                                "Humi(%)",
                                "AbsPressure(" + u.pressure + ")",
                                "RelPressure(" + u.pressure + ")",
                                "Wind(" + u.wind + ")",
                                "Gust(" + u.wind + ")",
                                "DewPoint(" + t + ")",
                                "WindDir(deg)",
                                "Rain(" + u.rain + ")",
                                "RainDay(" + u.rain + ")",
                                "RainWeek(" + u.rain + ")",
                                "RainMonth(" + u.rain + ")",
                                "RainYear(" + u.rain + ")",
                                "Light(" + u.light + ")",
                                "UVI",
                                "UV(uW/cm2)"};
    return (titles.join(',') + "\n").toLatin1();
}

QByteArray StationModel::State::Record(const LogFile& file, int number, const QDateTime& at) const {
    const Units& u = file.units;
    const StationReadings r = Calibrated(weather.At(at), file.config);
    const bool lost = weather.OutdoorLost(at);
    const bool dark = weather.LightLost(at);
    const int minute = at.time().msecsSinceStartOfDay() / 60000;
    const double rain =
        weather.RainBetween(at.date(), std::max(0, minute - options.logIntervalMinutes), minute) *
        config.rainFactor;
    auto number0 = [&](const QString& text) { return lost ? QString("---") : text; };
    auto strip = [](QString text, const QString& unit) {
        text.chop(unit.size());
        return text;
    };
    const QStringList values = {
        QString::number(number),
        at.toString("yyyy-M-d H:mm"),
        number0(strip(u.Temperature(r.temperature), u.temperature)),
        number0(QString::number(r.humidity)),
        u.PressureNumber(r.absPressure),
        u.PressureNumber(r.relPressure),
        number0(u.WindNumber(r.wind)),
        number0(u.WindNumber(r.gust)),
        number0(strip(u.Temperature(r.dewPoint), u.temperature)),
        number0(QString::number(r.windDirection)),
        u.RainNumber(rain),
        u.RainNumber(r.rainDay),
        u.RainNumber(r.rainWeek),
        u.RainNumber(r.rainMonth),
        u.RainNumber(r.rainYear),
        dark ? QString("-") : u.LightNumber(r.light),
        dark ? QString("-") : QString::number(r.uvIndex),
        dark ? QString("-") : QString::number(r.uv),
    };
    return (values.join(',') + "\n").toLatin1();
}

void StationModel::State::GenerateFiles() {
    const QDateTime now = Now();
    int totalDays = 0;
    for (int days : options.logFileDays) totalDays += std::max(1, days);
    QDate start = now.date().addDays(1 - totalDays);
    historySince = QDateTime(start, QTime(0, 0), Qt::UTC);
    const Units units(config);
    for (std::size_t i = 0; i < options.logFileDays.size(); ++i) {
        const QDate end = start.addDays(std::max(1, options.logFileDays[i]));
        const bool last = i + 1 == options.logFileDays.size();
        LogFile file;
        file.isLog = true;
        file.written = false;
        file.config = config;
        file.units = units;
        file.firstTime = QDateTime(start, QTime(0, 0), Qt::UTC);
        file.stopTime = last ? now : QDateTime(end, QTime(0, 0), Qt::UTC).addSecs(-1);
        const QString name = start.toString("yyyyMMdd") + ".CSV";
        files[name] = std::move(file);
        fileOrder.push_back(name);
        start = end;
    }
}

LogFile* StationModel::State::File(const QString& name) {
    const auto it = files.find(name);
    if (it == files.end()) return nullptr;
    LogFile& file = it->second;
    if (!file.written) {
        const int step = std::max(1, options.logIntervalMinutes) * 60;
        file.bytes = Header(file.units);
        int number = 0;
        for (QDateTime at = file.firstTime; at <= file.stopTime; at = at.addSecs(step)) {
            file.bytes += Record(file, ++number, at);
            file.lastTime = at;
        }
        file.lastNumber = number;
        file.written = true;
    }
    return &file;
}

bool StationModel::State::Apply(const QString& text) {
    QString request = text;
    if (request.endsWith("\r\n")) request.chop(2);
    if (!request.startsWith("Write&") || !request.endsWith("&http 1.0")) return false;
    const QString body = request.mid(6, request.size() - 6 - 9);
    StationConfig c = config;

    if (body.startsWith("Time=")) {
        const QStringList parts = body.mid(5).split('&');
        if (parts.size() != 4) return false;
        const auto weekday = Integer(parts[0]);
        const QDate date = QDate::fromString(parts[1], "yyyy-MM-dd");
        const QTime time = QTime::fromString(parts[2], "hh:mm:ss");
        const auto sundays = Integer(parts[3]);
        if (!weekday || *weekday < 0 || *weekday > 6 || !date.isValid() || !time.isValid() ||
            !sundays || *sundays < 0 || *sundays > 5)
            return false;
        utcBase = QDateTime(date, time, Qt::UTC);
        clockAtBase = options.clock ? options.clock->UtcNow() : QDateTime();
        return true;
    }
    if (body.startsWith("time zone=")) {
        const auto zone = Integer(body.mid(10));
        if (!zone || *zone < -12 || *zone > 12) return false;
        config.timeZone = *zone;
        return true;
    }

    const qsizetype open = body.indexOf('<');
    if (open < 0 || !body.endsWith('>')) return false;
    const QString block = body.left(open);
    const QString inner = body.mid(open + 1, body.size() - open - 2);

    if (block == "Alarm switch") {
        if (inner != "Enable" && inner != "Disable") return false;
        config.alarmAll = inner == "Enable" ? 0 : 1;
        return true;
    }
    if (block == "Reset") {
        if (inner != "Max&Min") return false;
        historySince = Now();
        ++maxMinResets;
        return true;
    }

    QStringList keys;
    QStringList values;
    for (const QString& pair : inner.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq < 0) return false;
        keys << pair.left(eq);
        values << pair.mid(eq + 1);
    }
    auto is = [&](std::initializer_list<const char*> expected) {
        if (static_cast<qsizetype>(expected.size()) != keys.size()) return false;
        int i = 0;
        for (const char* key : expected)
            if (keys[i++] != key) return false;
        return true;
    };
    auto onOff = [&](int i, bool& target) {
        if (values[i] != "On" && values[i] != "Off") return false;
        target = values[i] == "On";
        return true;
    };
    auto decimalIn = [&](int i, double low, double high, double& target) {
        const auto v = Decimal(values[i]);
        if (!v || !Within(*v, low, high)) return false;
        target = *v;
        return true;
    };
    auto wholeIn = [&](int i, int low, int high, double& target) {
        const auto v = Decimal(values[i]);
        if (!v || !WholePartWithin(*v, low, high) || *v < low - 1 + 1e-9) return false;
        target = *v;
        return true;
    };
    auto integerIn = [&](int i, int low, int high, int& target) {
        const auto v = Integer(values[i]);
        if (!v || *v < low || *v > high) return false;
        target = *v;
        return true;
    };
    auto textUpTo = [&](int i, int limit, QString& target) {
        if (values[i].size() > limit) return false;
        target = values[i];
        return true;
    };
    auto token = [&](int i, const QStringList& allowed, QString& target) {
        if (!allowed.contains(values[i])) return false;
        target = values[i];
        return true;
    };

    bool ok = false;
    if (block == "Unit" && is({"Temperature", "Light", "Wind", "Rainfall", "Pressure"})) {
        ok = token(0, kTemperatureUnits, c.temperatureUnit) && token(1, kLightUnits, c.lightUnit) &&
             token(2, kWindUnits, c.windUnit) && token(3, kRainUnits, c.rainUnit) &&
             token(4, kPressureUnits, c.pressureUnit);
    } else if (block == "Offset" && is({"Wind dir", "Temperature", "Humidity"})) {
        ok = integerIn(0, -180, 180, c.windDirectionOffset) &&
             decimalIn(1, -6.0, 6.0, c.temperatureOffset) &&
             integerIn(2, -20, 20, c.humidityOffset);
    } else if (block == "Offset" && is({"Abs Pressure", "Rel Pressure"})) {
        ok = wholeIn(0, -800, 800, c.absPressureOffset) &&
             wholeIn(1, -800, 800, c.relPressureOffset);
    } else if (block == "Offset" && is({"Wind", "Rain fall"})) {
        ok = decimalIn(0, 0.1, 5.0, c.windFactor) && decimalIn(1, 0.1, 5.0, c.rainFactor);
    } else if (block == "Offset" && is({"Light", "UV"})) {
        ok = decimalIn(0, 0.1, 5.0, c.lightFactor) && decimalIn(1, 0.05, 10.0, c.uvFactor);
    } else if (block == "Alarm high" && is({"Temperature", "Dew Point", "Humidity"})) {
        ok = wholeIn(0, -40, 60, c.highTemperature) && wholeIn(1, -40, 60, c.highDewPoint) &&
             integerIn(2, 1, 99, c.highHumidity);
    } else if (block == "Alarm high" && is({"Wind", "Gust"})) {
        ok = wholeIn(0, 0, 50, c.highWind) && wholeIn(1, 0, 50, c.highGust);
    } else if (block == "Alarm high" && is({"Rain Rate", "Daily Rain"})) {
        ok = wholeIn(0, 0, 999, c.highRainRate) && wholeIn(1, 0, 999, c.highDailyRain);
    } else if (block == "Alarm low" && is({"Temperature", "Dew Point", "Humidity"})) {
        ok = wholeIn(0, -40, 60, c.lowTemperature) && wholeIn(1, -40, 60, c.lowDewPoint) &&
             integerIn(2, 1, 99, c.lowHumidity);
    } else if (block == "high switch" && is({"Temperature", "Dew Point", "Humidity"})) {
        ok = onOff(0, c.highTemperatureSwitch) && onOff(1, c.highDewPointSwitch) &&
             onOff(2, c.highHumiditySwitch);
    } else if (block == "high switch" && is({"Wind", "Gust", "Rain Rate", "Daily Rain"})) {
        ok = onOff(0, c.highWindSwitch) && onOff(1, c.highGustSwitch) &&
             onOff(2, c.highRainRateSwitch) && onOff(3, c.highDailyRainSwitch);
    } else if (block == "low switch" && is({"Temperature", "Dew Point", "Humidity"})) {
        ok = onOff(0, c.lowTemperatureSwitch) && onOff(1, c.lowDewPointSwitch) &&
             onOff(2, c.lowHumiditySwitch);
    } else if (block == "Telephone" && is({"1", "2", "3"})) {
        ok = textUpTo(0, 15, c.telephone1) && textUpTo(1, 15, c.telephone2) &&
             textUpTo(2, 15, c.telephone3);
    } else if (block == "SMS TEST" && is({"Send"})) {
        ok = textUpTo(0, 14, c.smsTestId);
    } else if (block == "SMS TEST" && is({"ID"})) {
        QString id;
        ok = textUpTo(0, 14, id) && !id.isEmpty();
        if (ok) ++smsTestsSent;
    } else if (block == "Weather server" && is({"Web"})) {
        ok = textUpTo(0, 40, c.webHost);
    } else if (block == "Weather server" && is({"ID", "Password"})) {
        ok = textUpTo(0, 20, c.webId) && textUpTo(1, 20, c.webPassword);
    } else if (block == "Weather server" && is({"Server type", "Upload type", "Port"})) {
        const auto uploadType =
            static_cast<int>(QStringList{"Default", "Customize"}.indexOf(values[1]));
        ok = token(0, {"jsp", "asp", "php"}, c.serverType) && uploadType >= 0 &&
             textUpTo(2, 10, c.serverPort);
        c.uploadType = uploadType;
    } else if (block == "GPRS" && is({"APN", "User", "Password"})) {
        ok = textUpTo(0, 30, c.gprsApn) && textUpTo(1, 25, c.gprsUser) &&
             textUpTo(2, 15, c.gprsPassword);
    } else if (block == "Interval" && is({"Save"})) {
        ok = IntervalOk(values[0], 0, 1, 240, false) && values[0] != "0m";
        c.loggerInterval = values[0];
    } else if (block == "Interval" && is({"Send"})) {
        ok = IntervalOk(values[0], 24, 1, 59, false);
        c.sendCurrentInterval = values[0];
    } else if (block == "Interval" && is({"Alarm"})) {
        ok = IntervalOk(values[0], 0, 10, 120, false);
        c.alarmSmsInterval = values[0];
    } else if (block == "Interval" && is({"Update"})) {
        ok = IntervalOk(values[0], 24, 1, 59, false);
        c.uploadInterval = values[0];
    } else if (block == "Interval" && is({"Receive SMS"})) {
        ok = IntervalOk(values[0], 24, 1, 59, true);
        c.smsCheckInterval = values[0];
    } else if (block == "Daylight" && is({"DST", "start time", "end time"})) {
        static const QRegularExpression rule(R"(^(\d{1,2}):(\d):(\d{1,2})$)");
        const auto start = rule.match(values[1]);
        const auto end = rule.match(values[2]);
        auto inRange = [](const QRegularExpressionMatch& m) {
            const int month = m.captured(1).toInt(), week = m.captured(2).toInt(),
                      hour = m.captured(3).toInt();
            return month >= 1 && month <= 12 && week >= 1 && week <= 5 && hour >= 0 && hour <= 23;
        };
        bool dst = false;
        ok = onOff(0, dst) && start.hasMatch() && end.hasMatch() && inRange(start) && inRange(end);
        if (ok) {
            c.dstEnabled = dst;
            c.dstStartMonth = start.captured(1).toInt();
            c.dstStartWeek = start.captured(2).toInt();
            c.dstStartHour = start.captured(3).toInt();
            c.dstEndMonth = end.captured(1).toInt();
            c.dstEndWeek = end.captured(2).toInt();
            c.dstEndHour = end.captured(3).toInt();
        }
    }
    if (ok) config = c;
    return ok;
}

StationModel::StationModel(std::uint32_t seed, StationModelOptions options)
    : m_state(std::make_unique<State>(seed, std::move(options))) {
    State& s = *m_state;
    if (s.options.config) s.config = *s.options.config;
    QDateTime start = s.options.stationTime;
    if (!start.isValid()) {
        // Late winter, so that the logs hold frosty nights.
        const QDate day = QDate(2026, 2, 1).addDays(static_cast<int>(s.weather.Unit(99, 0) * 40));
        start = QDateTime(
            day, QTime(9, 0).addSecs(static_cast<int>(s.weather.Unit(99, 1) * 8 * 3600)), Qt::UTC);
    }
    s.SetNow(start);
    s.GenerateFiles();
}

StationModel::~StationModel() = default;

std::uint32_t StationModel::Seed() const {
    return m_state->seed;
}

StationConfig StationModel::Config() const {
    std::lock_guard lock(m_mutex);
    return m_state->config;
}

void StationModel::SetConfig(const StationConfig& config) {
    std::lock_guard lock(m_mutex);
    const QDateTime now = m_state->Now();
    m_state->config = config;
    m_state->SetNow(now);  // a new time zone does not move the station's local clock
}

QString StationModel::SettingField(int number) const {
    std::lock_guard lock(m_mutex);
    return m_state->Field(number);
}

QDateTime StationModel::StationTime() const {
    std::lock_guard lock(m_mutex);
    return m_state->Now();
}

void StationModel::SetStationTime(const QDateTime& localTime) {
    std::lock_guard lock(m_mutex);
    m_state->SetNow(localTime);
}

StationReadings StationModel::CurrentReadings() const {
    std::lock_guard lock(m_mutex);
    return m_state->Current();
}

void StationModel::SetReadingsOverride(std::optional<StationReadings> readings) {
    std::lock_guard lock(m_mutex);
    m_state->readingsOverride = readings;
}

StationReadings StationModel::WeatherAt(const QDateTime& localTime) const {
    return m_state->weather.At(QDateTime(localTime.date(), localTime.time(), Qt::UTC));
}

int StationModel::MaxMinResets() const {
    std::lock_guard lock(m_mutex);
    return m_state->maxMinResets;
}

int StationModel::SmsTestsSent() const {
    std::lock_guard lock(m_mutex);
    return m_state->smsTestsSent;
}

QByteArray StationModel::SettingReply() const {
    std::lock_guard lock(m_mutex);
    return m_state->Settings();
}

QByteArray StationModel::NowDataReply() const {
    std::lock_guard lock(m_mutex);
    return m_state->NowData();
}

QByteArray StationModel::MaxMinReply() const {
    std::lock_guard lock(m_mutex);
    return m_state->MaxMin();
}

QByteArray StationModel::FileListReply() const {
    std::lock_guard lock(m_mutex);
    QString text = "SDcard file:File<";
    for (const QString& name : m_state->fileOrder) text += name + "&";
    text += ">\r\n@";
    return text.toLatin1();
}

QByteArray StationModel::FileSizeReply(const QString& name) const {
    std::lock_guard lock(m_mutex);
    const LogFile* file = m_state->File(name);
    const qint64 size = file ? file->bytes.size() : 0;
    return ("File Size:File<size=" + QString::number(size) + ">\r\n").toLatin1();
}

std::optional<StationModel::FileTransfer> StationModel::ReadFile(const QString& name,
                                                                 qint64 start) const {
    std::lock_guard lock(m_mutex);
    const LogFile* file = m_state->File(name);
    if (!file) return std::nullopt;
    const QByteArray& bytes = file->bytes;
    FileTransfer transfer;
    transfer.header = ("Read File:File<size=" + QString::number(bytes.size()) + ">").toLatin1();
    if (start >= 0 && start < bytes.size()) transfer.data = bytes.mid(start);
    return transfer;
}

bool StationModel::ApplyWrite(const QString& request) {
    std::lock_guard lock(m_mutex);
    return m_state->Apply(request);
}

QStringList StationModel::FileNames() const {
    std::lock_guard lock(m_mutex);
    return QStringList(m_state->fileOrder.begin(), m_state->fileOrder.end());
}

std::optional<QByteArray> StationModel::FileBytes(const QString& name) const {
    std::lock_guard lock(m_mutex);
    const LogFile* file = m_state->File(name);
    if (!file) return std::nullopt;
    return file->bytes;
}

bool StationModel::HasFile(const QString& name) const {
    std::lock_guard lock(m_mutex);
    return m_state->files.count(name) > 0;
}

void StationModel::AddFile(const QString& name, const QByteArray& bytes) {
    std::lock_guard lock(m_mutex);
    auto& order = m_state->fileOrder;
    if (std::find(order.begin(), order.end(), name) == order.end()) order.push_back(name);
    LogFile file;
    file.bytes = bytes;
    m_state->files[name] = std::move(file);
}

bool StationModel::DeleteFile(const QString& name) {
    std::lock_guard lock(m_mutex);
    if (m_state->files.erase(name) == 0) return false;
    auto& order = m_state->fileOrder;
    order.erase(std::remove(order.begin(), order.end(), name), order.end());
    return true;
}

QByteArray StationModel::AppendRecords(const QString& name, int count) {
    std::lock_guard lock(m_mutex);
    LogFile* found = m_state->File(name);
    if (!found || count <= 0) return {};
    LogFile& file = *found;
    if (!file.isLog) {
        // A file put on the card by a test: continue from the station clock.
        file.isLog = true;
        file.config = m_state->config;
        file.units = Units(m_state->config);
        file.lastTime = m_state->Now();
    }
    const int step = std::max(1, m_state->options.logIntervalMinutes) * 60;
    QByteArray appended;
    for (int i = 0; i < count; ++i) {
        file.lastTime = file.lastTime.addSecs(step);
        appended += m_state->Record(file, ++file.lastNumber, file.lastTime);
    }
    file.bytes += appended;
    return appended;
}

}  // namespace orvane
