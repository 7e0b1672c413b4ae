// The checks the outside-system, service and push dialogs apply to what the operator types as a
// server URL or a host name, before anything is sent to the sensor.
#pragma once

#include <QString>

namespace UrlRules {

// "http" or "https" when the whole text, as typed, is a URL the sensor's clients take (scheme,
// host, optional port, then a path starting with "/"); an empty text otherwise.
QString urlScheme(const QString &text);

// True when urlScheme() finds a scheme.
bool isValidUrl(const QString &text);

// True when the whole text is one host-name label: a letter or digit, then up to 62 letters,
// digits or hyphens, letters of either case.
bool isValidHostName(const QString &text);

} // namespace UrlRules
