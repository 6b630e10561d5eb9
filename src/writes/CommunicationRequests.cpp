#include "CommunicationRequests.h"

#include <initializer_list>

#include "ControlText.h"
#include "RequestText.h"
#include "Requests.h"
#include "SettingsControls.h"

namespace orvane {

namespace {

struct Field {
    const char* name;
    QString text;
};

// Shows `message` when any field is longer than its limit.
bool WithinLength(ControlWindow& window,
                  std::initializer_list<std::pair<const QString*, int>> fields,
                  const char* message) {
    for (const auto& [text, limit] : fields) {
        if (text->size() > limit) {
            window.MessageBox(QString::fromLatin1(message));
            return false;
        }
    }
    return true;
}

bool Sendable(ControlWindow& window, std::initializer_list<Field> fields) {
    for (const Field& field : fields)
        if (!AcceptRequestValue(window, QString::fromLatin1(field.name), field.text)) return false;
    return true;
}

QString SmsIdRequest(ControlWindow& window, const char* request) {
    const QString id = window.Text(SettingsId::kSmsTestId);
    if (!WithinLength(window, {{&id, 14}}, "ID Length Max 14.")) return QString();
    if (!Sendable(window, {{"SMS ID", id}})) return QString();
    return FormatRequest(request, {id});
}

}  // namespace

QString BuildTelephoneRequest(ControlWindow& window) {
    const QString one = window.Text(SettingsId::kTelephone1);
    const QString two = window.Text(SettingsId::kTelephone2);
    const QString three = window.Text(SettingsId::kTelephone3);
    if (!WithinLength(window, {{&one, 15}, {&two, 15}, {&three, 15}}, "Telephone Length Max 15."))
        return QString();
    if (!Sendable(window, {{"Telephone 1", one}, {"Telephone 2", two}, {"Telephone 3", three}}))
        return QString();
    return FormatRequest(Request::kWriteTelephone, {one, two, three});
}

QString BuildSmsIdRequest(ControlWindow& window) {
    return SmsIdRequest(window, Request::kWriteSmsTestSend);
}

QString BuildSmsTestRequest(ControlWindow& window) {
    return SmsIdRequest(window, Request::kWriteSmsTestId);
}

QString BuildGprsRequest(ControlWindow& window) {
    const QString apn = window.Text(SettingsId::kGprsApn);
    const QString user = window.Text(SettingsId::kGprsUser);
    const QString password = window.Text(SettingsId::kGprsPassword);
    if (!WithinLength(window, {{&apn, 30}, {&user, 25}, {&password, 15}},
                      "GPRS APN Length Max 30.User Length Max 25.Password Length Max 15."))
        return QString();
    if (!Sendable(window, {{"GPRS APN", apn}, {"GPRS user", user}, {"GPRS password", password}}))
        return QString();
    return FormatRequest(Request::kWriteGprs, {apn, user, password});
}

QString BuildWebRequest(ControlWindow& window) {
    const QString web = window.Text(SettingsId::kWebHost);
    if (!WithinLength(window, {{&web, 40}}, "Web Length Max 40.")) return QString();
    if (!Sendable(window, {{"Web server address", web}})) return QString();
    return FormatRequest(Request::kWriteWeatherServerWeb, {web});
}

QString BuildWebLoginRequest(ControlWindow& window) {
    const QString id = window.Text(SettingsId::kWebId);
    const QString password = window.Text(SettingsId::kWebPassword);
    if (!WithinLength(window, {{&id, 20}, {&password, 20}},
                      "ID Length Max 20;Password Length Max 20."))
        return QString();
    if (!Sendable(window, {{"Web station ID", id}, {"Web password", password}})) return QString();
    return FormatRequest(Request::kWriteWeatherServerId, {id, password});
}

QString BuildServerTypeRequest(ControlWindow& window) {
    const QString port = window.Text(SettingsId::kServerPort);
    if (!Sendable(window, {{"Port", port}})) return QString();
    return FormatRequest(Request::kWriteWeatherServerType,
                         {SelectedItemText(window, SettingsId::kServerType),
                          SelectedItemText(window, SettingsId::kUploadType), port});
}

}  // namespace orvane
