// make_venarive: draws resources/Venarive.png, the world map the place picker shows.
//
// Not part of the default build; the image is committed and only needs redrawing when this file
// or src/engine/map_projection.h changes. Redraw it in place with the build target:
//
//   cmake --build build/dev --target venarive_map
//
// Everything is deterministic: the terrain comes from our own hashed gradient noise with fixed
// seeds, so the same source always redraws the same picture on the same toolchain and fonts.
//
// The app reads positions off this picture with the inverse of the projection in
// src/engine/map_projection.h, so the picture must be drawn with exactly that projection and its
// pixel convention. tests/tools/venarive_test.cpp holds the picture to them.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "engine/constants.h"
#include "engine/map_projection.h"

namespace {

namespace venarive = morvane::venarive;
using morvane::kPi;

using venarive::kImageHeight;
using venarive::kImageWidth;
using venarive::kMaxLatitude;
using venarive::kMaxLongitude;

double radians(double degrees) { return morvane::degreesToRadians(degrees); }

// Projection space is twice the pixel grid; these work in pixels to keep the drawing code short.
double pixelY(double lat) { return venarive::projectionY(lat) / 2.0; }
double pixelX(double lat, double lon) { return venarive::projectionX(lat, lon) / 2.0; }
double latOfPixel(double py) { return venarive::latitudeAt(2.0 * py); }
double lonOfPixel(double px, double lat) { return venarive::longitudeAt(2.0 * px, lat); }

bool insideRegion(double px, double py) {
    const double lat = latOfPixel(py);
    return venarive::insideRegion(lat, lonOfPixel(px, lat));
}

struct Place {
    const char* name;
    double latDeg;
    double lonDeg;
    // Label anchor relative to the marker, chosen by eye so that no two names or a name and a
    // graticule label collide.
    double dx;
    double dy;
    bool alignRight;
};

constexpr std::array<Place, 13> kPlaces{{
    {"Cherafir", 40.5, -20.9, 11, -6, false},
    {"Berema", 37.7, -16.4, 11, 6, false},
    {"Lysara", 27.4, 3.3, 11, -6, false},
    {"Meokolis", 34.5, 11.1, 11, 6, false},
    {"Manquided", 11.5, 25.3, 11, 6, false},
    {"Hacherdad", 21.9, 33.9, 11, 6, false},
    {"Inri", 13.4, 8.8, 11, 6, false},
    {"Tengela", 32.1, -4.7, 11, 6, false},
    {"Chelemby", 44.4, -12.2, 11, 6, false},
    {"Tarkain", 31.0, -16.3, 11, 6, false},
    {"Isynen", 24.4, -19.7, 11, 6, false},
    {"Livelis", 23.3, 26.7, -11, 6, true},
    {"Goris", 21.0, 5.1, 11, 6, false},
}};

// ---------------------------------------------------------------------------------------------
// Noise. Gradient noise on a hashed lattice; the gradient table is built from the hash too, so
// nothing depends on a library's random engine.

uint32_t mix32(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

uint32_t latticeHash(int32_t x, int32_t y, uint32_t seed) {
    return mix32(static_cast<uint32_t>(x) * 0x9E3779B1u ^
                 mix32(static_cast<uint32_t>(y) * 0x85EBCA77u ^ seed));
}

struct Gradients {
    std::array<double, 256> gx{};
    std::array<double, 256> gy{};
    Gradients() {
        for (int i = 0; i < 256; ++i) {
            const double a = 2.0 * kPi * (i + 0.5) / 256.0;
            gx[i] = std::cos(a);
            gy[i] = std::sin(a);
        }
    }
};
const Gradients kGradients;

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

double gradientNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx);
    const auto iy = static_cast<int32_t>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    auto corner = [&](int cx, int cy) {
        const uint32_t g = latticeHash(ix + cx, iy + cy, seed) & 255u;
        return kGradients.gx[g] * (tx - cx) + kGradients.gy[g] * (ty - cy);
    };
    const double u = fade(tx);
    const double v = fade(ty);
    const double a = corner(0, 0) + u * (corner(1, 0) - corner(0, 0));
    const double b = corner(0, 1) + u * (corner(1, 1) - corner(0, 1));
    return (a + v * (b - a)) * 1.41;  // roughly [-1, 1]
}

double fbm(double x, double y, int octaves, uint32_t seed, double gain = 0.5) {
    double sum = 0.0;
    double amplitude = 1.0;
    double norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        // Each octave is rotated a little so lattice rows never line up into visible streaks.
        const double c = 0.8;
        const double s = 0.6;
        sum += amplitude * gradientNoise(x, y, seed + 1013u * static_cast<uint32_t>(o));
        norm += amplitude;
        const double nx = 2.0 * (c * x - s * y) + 17.3;
        const double ny = 2.0 * (s * x + c * y) - 9.1;
        x = nx;
        y = ny;
        amplitude *= gain;
    }
    return sum / norm;
}

// Ridged noise for mountain chains: sharp crests where the plain noise crosses zero.
double ridged(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        const double n =
            1.0 - std::fabs(gradientNoise(x, y, seed + 7919u * static_cast<uint32_t>(o)));
        sum += amplitude * n * n;
        norm += amplitude;
        const double nx = 2.0 * (0.8 * x - 0.6 * y) + 5.7;
        const double ny = 2.0 * (0.6 * x + 0.8 * y) + 3.3;
        x = nx;
        y = ny;
        amplitude *= 0.5;
    }
    return sum / norm;
}

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A max without a crease, so the hill-shading shows no seam where a place's guarantee of land
// takes over from the noise.
double softMax(double a, double b, double k) {
    return 0.5 * (a + b + std::sqrt((a - b) * (a - b) + k * k));
}

// ---------------------------------------------------------------------------------------------
// Terrain. Heights are sampled in pixel coordinates (pixel centres), sea level is 0.

struct Blob {
    double cx, cy, rx, ry, weight;
};

// The continent's rough outline; the noise carves bays and peninsulas into it.
constexpr std::array<Blob, 6> kBlobs{{
    {820, 760, 560, 430, 1.0},    // the western and central body
    {560, 520, 300, 260, 0.9},    // the north-western highlands
    {1480, 1080, 330, 300, 1.0},  // the eastern lobe
    {1170, 1200, 260, 170, 0.9},  // the southern spur
    {1180, 900, 300, 200, 0.8},   // the isthmus joining east and west
    {430, 960, 170, 170, 0.8},    // the western cape
}};

struct PlacePixel {
    double x, y;
};

std::vector<PlacePixel> placePixels() {
    std::vector<PlacePixel> out;
    for (const Place& p : kPlaces) {
        const double lat = radians(p.latDeg);
        out.push_back({pixelX(lat, radians(p.lonDeg)), pixelY(lat)});
    }
    return out;
}

struct Height {
    double h;      // signed height: > 0 land, < 0 sea
    double broad;  // the same without the fine octaves, for the bathymetry
};

Height baseHeight(double x, double y, const std::vector<PlacePixel>& places) {
    const double wx = x + 140.0 * fbm(x / 420.0, y / 420.0, 4, 101u);
    const double wy = y + 140.0 * fbm(x / 420.0 + 31.7, y / 420.0 - 12.9, 4, 202u);

    double shape = -0.6;
    for (const Blob& b : kBlobs) {
        const double dx = (wx - b.cx) / b.rx;
        const double dy = (wy - b.cy) / b.ry;
        shape = std::max(shape, b.weight * (1.0 - dx * dx - dy * dy));
    }

    const double coarse = fbm(wx / 300.0, wy / 300.0, 3, 303u);
    const double fine = fbm(x / 37.5, y / 37.5, 4, 909u);
    double h = 0.36 * shape + 0.62 * coarse + 0.09 * fine - 0.04;
    const double broad = 0.36 * shape + 0.62 * coarse - 0.04;

    for (const PlacePixel& p : places) {
        const double d = std::hypot(x - p.x, y - p.y);
        h = softMax(h, 0.14 - d / 220.0, 0.05);
    }
    return {h, broad};
}

// Elevation above the sea used for colours and shading: the coast stays gentle, the interior
// gets mountain chains.
double landElevation(double h, double broad, double x, double y) {
    if (h <= 0.0) return h;
    // Chains rise only where a slow noise says so, and only away from the coast.
    const double belt = smoothstep(-0.05, 0.35, fbm(x / 520.0 + 3.1, y / 520.0 - 7.7, 3, 505u));
    const double r = ridged(x / 240.0, y / 240.0, 6, 404u);
    const double mountains = smoothstep(0.06, 0.30, h) * belt * r * r * 0.85;
    // The coast's fine wrinkles would make every lowland look like badlands; only a trace of
    // them reaches the relief.
    return 0.55 * broad + 0.2 * (h - broad) + mountains;
}

struct Rgb {
    double r, g, b;
};

Rgb mixRgb(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct Stop {
    double at;
    Rgb colour;
};

Rgb ramp(const Stop* stops, int count, double v) {
    if (v <= stops[0].at) return stops[0].colour;
    for (int i = 1; i < count; ++i) {
        if (v <= stops[i].at) {
            const double t = (v - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return mixRgb(stops[i - 1].colour, stops[i].colour, t);
        }
    }
    return stops[count - 1].colour;
}

constexpr Stop kLandStops[] = {
    {0.00, {170, 196, 142}}, {0.10, {184, 204, 148}}, {0.22, {210, 208, 160}},
    {0.34, {214, 190, 140}}, {0.48, {190, 160, 120}}, {0.64, {172, 150, 130}},
    {0.80, {214, 208, 200}}, {0.95, {244, 242, 238}},
};
// Depth is stepped into bands, the way an atlas prints its bathymetry; the band edges are
// softened over a short distance so they don't stair-step.
constexpr Stop kSeaStops[] = {
    {-0.60, {98, 146, 190}},  {-0.30, {118, 164, 204}}, {-0.14, {146, 188, 218}},
    {-0.05, {174, 208, 228}}, {0.00, {192, 220, 234}},
};

Rgb seaColour(double h) {
    constexpr double edges[] = {-0.05, -0.14, -0.30};
    constexpr Rgb bands[] = {{188, 218, 233}, {166, 202, 225}, {138, 180, 212}, {110, 156, 198}};
    Rgb c = bands[0];
    for (int i = 0; i < 3; ++i)
        c = mixRgb(c, bands[i + 1], smoothstep(edges[i] + 0.004, edges[i] - 0.004, h));
    // A touch of continuous shading inside a band keeps big open seas from looking flat.
    const Rgb fine = ramp(kSeaStops, 5, h);
    return mixRgb(c, fine, 0.25);
}

// ---------------------------------------------------------------------------------------------
// Graticule: one-pixel lines at exactly the pixels the projection gives, so the picture can be
// checked against the projection pixel by pixel.

const QColor kGraticule(78, 104, 150);

void drawGraticule(QImage& image) {
    const QRgb g = kGraticule.rgb();
    for (int latDeg = 0; latDeg <= 60; latDeg += 10) {
        const int py = static_cast<int>(std::floor(pixelY(radians(latDeg))));
        if (py < 0 || py >= kImageHeight) continue;
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < kImageWidth; ++px) row[px] = g;
    }
    for (int lonDeg = -180; lonDeg <= 180; lonDeg += 10) {
        for (int py = 0; py < kImageHeight; ++py) {
            const double lat = latOfPixel(py + 0.5);
            const int px = static_cast<int>(std::floor(pixelX(lat, radians(lonDeg))));
            if (px < 0 || px >= kImageWidth) continue;
            reinterpret_cast<QRgb*>(image.scanLine(py))[px] = g;
        }
    }
}

// ---------------------------------------------------------------------------------------------

QImage drawTerrain() {
    const std::vector<PlacePixel> places = placePixels();
    const int pw = kImageWidth + 2;
    const int ph = kImageHeight + 2;
    std::vector<double> h(static_cast<size_t>(pw) * ph);
    std::vector<double> e(h.size());
    std::vector<double> broad(h.size());
    for (int y = 0; y < ph; ++y) {
        for (int x = 0; x < pw; ++x) {
            const double cx = x - 1 + 0.5;
            const double cy = y - 1 + 0.5;
            const Height v = baseHeight(cx, cy, places);
            h[static_cast<size_t>(y) * pw + x] = v.h;
            e[static_cast<size_t>(y) * pw + x] = landElevation(v.h, v.broad, cx, cy);
            broad[static_cast<size_t>(y) * pw + x] = v.broad;
        }
    }
    auto at = [&](const std::vector<double>& f, int x, int y) {
        return f[static_cast<size_t>(y + 1) * pw + (x + 1)];
    };

    // Light from the north-west, 40° above the horizon; y grows southwards.
    const double lightZ = std::sin(radians(40.0));
    const double lightXY = std::cos(radians(40.0)) / std::sqrt(2.0);
    const double lx = -lightXY, ly = -lightXY, lz = lightZ;
    const double relief = 55.0;

    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    const Rgb coast{64, 86, 96};
    for (int y = 0; y < kImageHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kImageWidth; ++x) {
            const double hv = at(h, x, y);
            const double hx = 0.5 * (at(h, x + 1, y) - at(h, x - 1, y));
            const double hy = 0.5 * (at(h, x, y + 1) - at(h, x, y - 1));
            const double slope = std::max(std::hypot(hx, hy), 1e-6);
            const double d = hv / slope;  // signed distance to the coast in pixels, near the coast

            // Land colour with hill-shading.
            const double ev = std::max(at(e, x, y), 0.0);
            const double ex =
                0.5 * (std::max(at(e, x + 1, y), 0.0) - std::max(at(e, x - 1, y), 0.0));
            const double ey =
                0.5 * (std::max(at(e, x, y + 1), 0.0) - std::max(at(e, x, y - 1), 0.0));
            const double nx = -relief * ex, ny = -relief * ey, nz = 1.0;
            const double shade =
                (nx * lx + ny * ly + nz * lz) / std::sqrt(nx * nx + ny * ny + nz * nz);
            const double k = std::clamp(1.0 + 1.6 * (shade - lightZ), 0.55, 1.35);
            Rgb land = ramp(kLandStops, 8, ev);
            if (k < 1.0) {
                land = {land.r * k, land.g * k, land.b * k * 1.04};
            } else {
                land = mixRgb(land, {255, 252, 240}, (k - 1.0) * 1.2);
            }

            // Offshore the depth follows the broad shape of the sea floor, so the bands deepen away
            // from the coast instead of breaking into blotches; near the coast the real height
            // wins.
            const double depth = std::min(0.0, std::min(hv, 0.3 * hv + 0.7 * at(broad, x, y)));
            const Rgb sea = seaColour(depth);
            const double landShare = std::clamp(0.5 + d, 0.0, 1.0);
            Rgb c = mixRgb(sea, land, landShare);
            const double stroke = std::clamp(1.15 - std::fabs(d), 0.0, 1.0);
            c = mixRgb(c, coast, 0.9 * stroke);

            row[x] = qRgb(static_cast<int>(std::lround(std::clamp(c.r, 0.0, 255.0))),
                          static_cast<int>(std::lround(std::clamp(c.g, 0.0, 255.0))),
                          static_cast<int>(std::lround(std::clamp(c.b, 0.0, 255.0))));
        }
    }
    return image;
}

void fadeOutside(QImage& image) {
    const Rgb paper{236, 235, 230};
    for (int y = 0; y < kImageHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kImageWidth; ++x) {
            if (insideRegion(x + 0.5, y + 0.5)) continue;
            const Rgb c{double(qRed(row[x])), double(qGreen(row[x])), double(qBlue(row[x]))};
            const Rgb f = mixRgb(c, paper, 0.6);
            row[x] = qRgb(int(std::lround(f.r)), int(std::lround(f.g)), int(std::lround(f.b)));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Overlays drawn with QPainter: border, labels, markers, title.

void haloText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
              const QColor& ink, double halo = 3.0) {
    QPainterPath path;
    path.addText(baseline, font, text);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 250, 215), halo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(path);
}

QPolygonF regionOutline() {
    QPolygonF poly;
    const int steps = 240;
    for (int i = 0; i <= steps; ++i) {  // west edge, south to north
        const double lat = kMaxLatitude * i / steps;
        poly << QPointF(pixelX(lat, -kMaxLongitude), pixelY(lat));
    }
    for (int i = 0; i <= steps; ++i) {  // east edge, north to south
        const double lat = kMaxLatitude * (steps - i) / steps;
        poly << QPointF(pixelX(lat, kMaxLongitude), pixelY(lat));
    }
    return poly;
}

QString latLabel(int deg) {
    return deg == 0 ? QStringLiteral("0°") : QStringLiteral("%1°N").arg(deg);
}
QString lonLabel(int deg) {
    if (deg == 0) return QStringLiteral("0°");
    return QStringLiteral("%1°%2")
        .arg(std::abs(deg))
        .arg(deg < 0 ? QLatin1Char('W') : QLatin1Char('E'));
}

void drawOverlays(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // The region's border sits on pixel centres like everything else.
    QPolygonF outline = regionOutline();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 60, 52), 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolygon(outline);

    const QColor gratInk(52, 72, 110);
    QFont gratFont(QStringLiteral("DejaVu Sans"));
    gratFont.setPixelSize(14);
    const QFontMetricsF gm(gratFont);

    // Parallels: at both ends of the region, or at the picture's edge where the region runs off it.
    for (int deg = 0; deg <= 60; deg += 10) {
        const double lat = radians(deg);
        const double y = pixelY(lat) + 0.5 + gm.ascent() * 0.36;
        const QString text = latLabel(deg);
        const double w = gm.horizontalAdvance(text);
        const double east = pixelX(lat, kMaxLongitude) + 0.5;
        haloText(p, QPointF(east + 7, y), text, gratFont, gratInk);
        const double west = pixelX(lat, -kMaxLongitude) + 0.5;
        if (west - 7 - w >= 4) {
            haloText(p, QPointF(west - 7 - w, y), text, gratFont, gratInk);
        } else {
            haloText(p, QPointF(5, y - 8), text, gratFont, gratInk);
        }
    }
    // Meridians: under the equator and above the 60th parallel.
    for (int deg = -40; deg <= 40; deg += 10) {
        const double lon = radians(deg);
        const QString text = lonLabel(deg);
        const double w = gm.horizontalAdvance(text);
        const double xTop = pixelX(kMaxLatitude, lon) + 0.5;
        haloText(p, QPointF(xTop - w / 2, pixelY(kMaxLatitude) + 0.5 - 9), text, gratFont, gratInk);
        const double xBottom = pixelX(0.0, lon) + 0.5;
        if (xBottom - w / 2 >= 2 && xBottom + w / 2 <= kImageWidth - 2) {
            haloText(p, QPointF(xBottom - w / 2, pixelY(0.0) + 0.5 + 9 + gm.ascent()), text,
                     gratFont, gratInk);
        }
    }
    // The region's side edges are meridians too; their labels run along them, outside, since the
    // top corners have no room left beside the 60th parallel's labels.
    for (int sign : {-1, 1}) {
        const QString text = lonLabel(45 * sign);
        const double w = gm.horizontalAdvance(text);
        const double lat0 = radians(52.0);
        const double lat1 = radians(53.0);
        const QPointF a(pixelX(lat0, sign * kMaxLongitude) + 0.5, pixelY(lat0) + 0.5);
        const QPointF b(pixelX(lat1, sign * kMaxLongitude) + 0.5, pixelY(lat1) + 0.5);
        double angle = std::atan2(b.y() - a.y(), b.x() - a.x()) * 180.0 / kPi;
        if (angle < -90.0) angle += 180.0;  // keep the text upright
        p.save();
        p.translate(a);
        p.rotate(angle);
        // With the text upright, the outside of either edge is above the rotated baseline.
        haloText(p, QPointF(-w / 2, -7.0), text, gratFont, QColor(70, 60, 52));
        p.restore();
        const double xBottom = pixelX(0.0, sign * kMaxLongitude) + 0.5;
        if (xBottom - w / 2 >= 2 && xBottom + w / 2 <= kImageWidth - 2) {
            haloText(p, QPointF(xBottom - w / 2, pixelY(0.0) + 0.5 + 9 + gm.ascent()), text,
                     gratFont, QColor(70, 60, 52));
        }
    }

    // Places.
    QFont placeFont(QStringLiteral("DejaVu Sans"));
    placeFont.setPixelSize(17);
    placeFont.setWeight(QFont::DemiBold);
    const QFontMetricsF pm(placeFont);
    for (const Place& place : kPlaces) {
        const double lat = radians(place.latDeg);
        const QPointF at(pixelX(lat, radians(place.lonDeg)) + 0.5, pixelY(lat) + 0.5);
        p.setPen(QPen(QColor(255, 255, 250), 2.2));
        p.setBrush(QColor(150, 32, 30));
        p.drawEllipse(at, 5.0, 5.0);
        p.setPen(QPen(QColor(60, 20, 18), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at, 6.6, 6.6);
        const QString name = QString::fromUtf8(place.name);
        const double w = pm.horizontalAdvance(name);
        const double x = place.alignRight ? at.x() + place.dx - w : at.x() + place.dx;
        haloText(p, QPointF(x, at.y() + place.dy), name, placeFont, QColor(38, 28, 22), 4.0);
    }

    // Title cartouche in the open sea north-east of the region.
    const QRectF box(1728, 52, 392, 168);
    p.setPen(QPen(QColor(70, 60, 52), 1.6));
    p.setBrush(QColor(250, 247, 238, 235));
    p.drawRoundedRect(box, 6, 6);
    p.setPen(QPen(QColor(70, 60, 52), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box.adjusted(5, 5, -5, -5), 4, 4);

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(48);
    title.setItalic(true);
    title.setWeight(QFont::Bold);
    const QFontMetricsF tm(title);
    const QString name = QStringLiteral("Venarive");
    p.setPen(QColor(50, 38, 30));
    p.setFont(title);
    p.drawText(QPointF(box.center().x() - tm.horizontalAdvance(name) / 2, box.top() + 64), name);

    QFont sub(QStringLiteral("DejaVu Serif"));
    sub.setPixelSize(15);
    const QFontMetricsF sm(sub);
    p.setFont(sub);
    const QString subtitle = QStringLiteral("0°–60° N   ·   45° W – 45° E");
    p.drawText(QPointF(box.center().x() - sm.horizontalAdvance(subtitle) / 2, box.top() + 92),
               subtitle);

    // Scale along a meridian: degrees of latitude are the same length everywhere on this map.
    const double degPx = radians(1.0) * venarive::kUnitsPerRadianLatitude / 2.0;
    const double x0 = box.center().x() - 5 * degPx;
    const double y0 = box.top() + 124;
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    const QFontMetricsF smallM(small);
    p.setFont(small);
    for (int i = 0; i < 10; ++i) {
        const QRectF seg(x0 + i * degPx, y0, degPx, 6);
        p.setPen(QPen(QColor(50, 38, 30), 0.8));
        p.setBrush(i % 2 == 0 ? QColor(50, 38, 30) : QColor(250, 247, 238));
        p.drawRect(seg);
    }
    p.setPen(QColor(50, 38, 30));
    for (int deg : {0, 5, 10}) {
        const QString t = QStringLiteral("%1°").arg(deg);
        p.drawText(QPointF(x0 + deg * degPx - smallM.horizontalAdvance(t) / 2, y0 + 22), t);
    }
    const QString scaleNote = QStringLiteral("degrees of latitude");
    p.drawText(QPointF(box.center().x() - smallM.horizontalAdvance(scaleNote) / 2, y0 + 36),
               scaleNote);
    p.end();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_venarive OUTPUT.png\n");
        return 2;
    }
    QImage image = drawTerrain();
    drawGraticule(image);
    fadeOutside(image);
    drawOverlays(image);
    const QImage out = image.convertToFormat(QImage::Format_RGB888);
    if (!out.save(QString::fromLocal8Bit(argv[1]), "PNG", 0)) {
        std::fprintf(stderr, "make_venarive: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
