#include "web_pages.h"

#include <QUrl>
#include <array>

namespace WebPages {

namespace {

struct Row
{
    QStringView application;
    Page upload;
    Page logo;
    Page priceInfo;
    Page estimate;
};

constexpr QStringView passwordParameter = u"&password=";

// The Lightwave pages live on the newer part of the site: https, no account
// data, and its Upload button leads to the rendering-time estimate.
constexpr std::array<Row, 4> rows{{
    {u"Cinema4D",
     {u"http", u"/index.php?produit=cinema4d&caractere=identification&page=produit&login=", true},
     {u"http", u"/cinema4d-home-produit.en.html"},
     {u"http", u"/cinema4d-pay_per_project-produit.en.html"},
     {u"http", u"/cinema4d-cost_estimator-produit.en.html"}},
    {u"Maya",
     {u"http", u"/index.php?produit=maya&caractere=identification&page=produit&login=", true},
     {u"http", u"/maya-home-produit.en.html"},
     {u"http", u"/maya-pay_per_project-produit.en.html"},
     {u"http", u"/maya-cost_estimator-produit.en.html"}},
    {u"Lightwave",
     {u"https", u"/en/estimate-the-rendering-time/lightwave"},
     {u"https", u"/en/rendering/lightwave"},
     {u"https", u"/en/renderfarm/prices"},
     {u"https", u"/en/estimate-the-rendering-time/lightwave"}},
    {u"Terragen",
     {u"http", u"/index.php?produit=terragen&caractere=identification&page=produit&login=", true},
     {u"http", u"/terragen-home-produit.en.html"},
     {u"http", u"/terragen-pay_per_project-produit.en.html"},
     {u"http", u"/terragen-cost_estimator-produit.en.html"}},
}};

const Page &column(const Row &row, Control control)
{
    switch (control) {
    case Control::Upload:
        return row.upload;
    case Control::Logo:
        return row.logo;
    case Control::PriceInfo:
        return row.priceInfo;
    case Control::Estimate:
        return row.estimate;
    }
    return row.logo;
}

// Everything outside the unreserved characters becomes %XX of its UTF-8 bytes.
QString queryValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

const Page *find(QStringView application, Control control)
{
    for (const Row &row : rows) {
        if (row.application == application)
            return &column(row, control);
    }
    return nullptr;
}

QString address(const Page &page, const QString &webHost, const QString &login, const QString &password)
{
    QString result = page.scheme.toString() + u"://" + webHost + page.path;
    if (page.carriesAccount)
        result += queryValue(login) + passwordParameter + queryValue(password);
    return result;
}

} // namespace WebPages
