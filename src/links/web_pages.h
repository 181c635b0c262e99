#pragma once

#include <QString>
#include <QStringView>

// The farm's web pages per application and control of the main window.
namespace WebPages {

enum class Control
{
    Upload,
    Logo,
    PriceInfo,
    Estimate,
};

struct Page
{
    QStringView scheme;
    QStringView path;
    // The customer's login page: the path ends in "login=" and the stored login
    // and password follow as query values.
    bool carriesAccount = false;
};

// nullptr when the application has no row (the comparison is exact, so the
// empty name of "no application chosen" has none).
const Page *find(QStringView application, Control control);

// Scheme, "://", host and path; on the login page the login and the password
// follow percent-encoded, so that no character of theirs can change the query
// or split the address.
QString address(const Page &page, const QString &webHost, const QString &login, const QString &password);

} // namespace WebPages
