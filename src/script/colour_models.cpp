// Colour models: the exact constants, test order and byte truncation every converter shares.
#include "script/colour_models.h"

#include <cmath>

namespace orv {
namespace {

constexpr double kSixtieth = 0.016666666666666666;  // 1/60
constexpr double kSixth = 0.16666666666666666;      // 1/6
constexpr double kThird = 0.3333333333333333;
constexpr double kTwoThirds = 0.6666666666666666;

// A channel fraction scaled to byte range. The product is kept in extended precision: a
// fraction that came from a byte (n x 0.00392156862745098, a hair below n / 255) then scales
// to a hair below n and truncates to n - 1 (128 grey comes back as 127), where a double
// product would round up to n.
long double times255(double c) { return static_cast<long double>(c) * 255.0L; }

// trunc(v) as a 32-bit integer. Values an integer cannot hold (and NaN) give the x86
// "integer indefinite" 0x80000000, whose low byte is 0, instead of undefined behaviour.
int32_t truncInt(long double v) {
    if (!(v > -2147483649.0L && v < 2147483648.0L)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// A byte store of trunc(c x 255): only the low 8 bits are kept.
uint8_t byteLow8(double c) { return static_cast<uint8_t>(truncInt(times255(c))); }

// trunc(c x 255), then clamped to 0..255.
uint8_t byteClamped(double c) {
    const long double v = times255(c);
    if (!(v > 0.0L)) return 0;  // negatives truncate to <= 0; NaN reads as 0
    if (v >= 255.0L) return 255;
    return static_cast<uint8_t>(static_cast<int>(v));
}

double max3(double a, double b, double c) { return std::fmax(a, std::fmax(b, c)); }
double min3(double a, double b, double c) { return std::fmin(a, std::fmin(b, c)); }

}  // namespace

void RgbToHsv(int red, int green, int blue, double& hue, double& saturation, double& value) {
    const double r = red * kByteToUnit, g = green * kByteToUnit, b = blue * kByteToUnit;
    const double mx = max3(r, g, b), mn = min3(r, g, b);
    value = mx;
    const double delta = mx - mn;
    if (delta == 0.0) {
        hue = -1.0;
        saturation = 0.0;
        return;
    }
    saturation = delta / mx;
    double h;
    if (r == mx)  // red first: r = g = max takes the red formula
        h = (g - b) / delta;
    else if (g == mx)
        h = 2.0 + (b - r) / delta;
    else
        h = 4.0 + (r - g) / delta;
    h *= 60.0;
    if (h < 0.0) h += 360.0;
    hue = h;
}

void HsvToRgb(double hue, double saturation, double value, uint8_t& red, uint8_t& green, uint8_t& blue) {
    double r, g, b;
    if (saturation == 0.0) {
        r = g = b = value;
    } else {
        double h = hue;
        if (h == 360.0) h = 0.0;
        // Callers keep hue in 0..360; anything else (or NaN) is wrapped so the sector is
        // always one of the six.
        if (!std::isfinite(h)) h = 0.0;
        else if (h < 0.0 || h > 360.0) {
            h = std::fmod(h, 360.0);
            if (h < 0.0) h += 360.0;
        }
        h *= kSixtieth;
        const double fi = std::floor(h);
        const double f = h - fi;
        int i = static_cast<int>(fi) % 6;  // 359.99.. x 1/60 can round to 6: that is sector 0
        const double p = value * (1.0 - saturation);
        const double q = value * (1.0 - saturation * f);
        const double t = value * (1.0 - saturation * (1.0 - f));
        switch (i) {
            case 0: r = value, g = t, b = p; break;
            case 1: r = q, g = value, b = p; break;
            case 2: r = p, g = value, b = t; break;
            case 3: r = p, g = q, b = value; break;
            case 4: r = t, g = p, b = value; break;
            default: r = value, g = p, b = q; break;
        }
    }
    red = byteLow8(r);
    green = byteLow8(g);
    blue = byteLow8(b);
}

void RgbToHsl(int red, int green, int blue, double& hue, double& saturation, double& lightness) {
    const double r = red * kByteToUnit, g = green * kByteToUnit, b = blue * kByteToUnit;
    const double mx = max3(r, g, b), mn = min3(r, g, b);
    lightness = (mx + mn) * 0.5;
    const double delta = mx - mn;
    if (delta == 0.0) {
        hue = 0.0;
        saturation = 0.0;
        return;
    }
    saturation = lightness < 0.5 ? delta / (mx + mn) : delta / (2.0 - mx - mn);
    const double dr = ((mx - r) * kSixth + delta * 0.5) / delta;
    const double dg = ((mx - g) * kSixth + delta * 0.5) / delta;
    const double db = ((mx - b) * kSixth + delta * 0.5) / delta;
    double h;
    if (r == mx)
        h = db - dg;
    else if (g == mx)
        h = kThird + dr - db;
    else
        h = kTwoThirds + dg - dr;
    if (h < 0.0) h += 1.0;
    if (h > 1.0) h -= 1.0;
    hue = h * 360.0;
}

int HueToChannel(double m1, double m2, double hue) {
    if (hue > 360.0)
        hue -= 360.0;
    else if (hue < 0.0)
        hue += 360.0;
    double v;
    if (hue < 60.0)
        v = m1 + (m2 - m1) * hue * kSixtieth;
    else if (hue < 180.0)
        v = m2;
    else if (hue < 240.0)
        v = m1 + (m2 - m1) * (240.0 - hue) * kSixtieth;
    else
        v = m1;
    return truncInt(times255(v));
}

void HslToRgb(double hue, double saturation, double lightness, uint8_t& red, uint8_t& green, uint8_t& blue) {
    if (saturation == 0.0) {
        red = green = blue = byteLow8(lightness);
        return;
    }
    const double m2 = lightness < 0.5 ? lightness * (1.0 + saturation)
                                      : (lightness + saturation) - lightness * saturation;
    const double m1 = 2.0 * lightness - m2;
    red = static_cast<uint8_t>(HueToChannel(m1, m2, hue + 120.0));
    green = static_cast<uint8_t>(HueToChannel(m1, m2, hue));
    blue = static_cast<uint8_t>(HueToChannel(m1, m2, hue - 120.0));
}

namespace {
// sRGB transfer inverse on a channel fraction, scaled to 0..100.
double linearise(int channel) {
    double c = channel * kByteToUnit;
    if (c > 0.04045)
        c = std::pow((c + 0.055) * 0.9478672985781991, 2.4);  // (c + 0.055) / 1.055
    else
        c = c * 0.07739938080495357;  // c / 12.92
    return c * 100.0;
}

double labF(double t) { return t > 0.008856 ? std::pow(t, 0.3333333333333333) : 7.787 * t + 0.13793103448275862; }

double labFInverse(double f) {
    const double t = f * f * f;
    return t > 0.008856 ? t : (f - 0.13793103448275862) * 0.1284191601386927;
}

double compand(double c) { return c > 0.0031308 ? 1.055 * std::pow(c, 0.4166666666666667) - 0.055 : 12.92 * c; }

double notNegative(double v) { return v < 0.0 ? 0.0 : v; }
}  // namespace

void RgbToXyz(int red, int green, int blue, double& x, double& y, double& z) {
    const double r = linearise(red), g = linearise(green), b = linearise(blue);
    x = notNegative(0.4124 * r + 0.3576 * g + 0.1805 * b);
    y = notNegative(0.2126 * r + 0.7152 * g + 0.0722 * b);
    z = notNegative(0.0193 * r + 0.1192 * g + 0.9505 * b);
}

void XyzToLab(double x, double y, double z, double& l, double& a, double& b) {
    const double fx = labF(x * 0.010521110608435826);  // X / 95.047
    const double fy = labF(y * 0.01);
    const double fz = labF(z * 0.009184170164304804);  // Z / 108.883
    l = 116.0 * fy - 16.0;
    a = 500.0 * (fx - fy);
    b = 200.0 * (fy - fz);
}

void LabToXyz(double l, double a, double b, double& x, double& y, double& z) {
    const double fy = (l + 16.0) * 0.008620689655172414;  // / 116
    const double fx = a * 0.002 + fy;
    const double fz = fy - b * 0.005;
    x = notNegative(95.047 * labFInverse(fx));
    y = notNegative(100.0 * labFInverse(fy));
    z = notNegative(108.883 * labFInverse(fz));
}

void XyzToRgb(double x, double y, double z, uint8_t& red, uint8_t& green, uint8_t& blue) {
    x *= 0.01;
    y *= 0.01;
    z *= 0.01;
    const double r = 3.2406 * x - 1.5372 * y - 0.4986 * z;
    const double g = -0.9689 * x + 1.8758 * y + 0.0415 * z;
    const double b = 0.0557 * x - 0.204 * y + 1.057 * z;
    red = byteClamped(compand(r));
    green = byteClamped(compand(g));
    blue = byteClamped(compand(b));
}

void LabToRgb(double l, double a, double b, uint8_t& red, uint8_t& green, uint8_t& blue) {
    double x, y, z;
    LabToXyz(l, a, b, x, y, z);
    XyzToRgb(x, y, z, red, green, blue);
}

void CmyToCmyk(double c, double m, double y, double& cyan, double& magenta, double& yellow, double& black) {
    double k = 1.0;
    if (c < k) k = c;
    if (m < k) k = m;
    if (y < k) k = y;
    if (k == 1.0) {
        cyan = magenta = yellow = 0.0;
    } else {
        cyan = (c - k) / (1.0 - k);
        magenta = (m - k) / (1.0 - k);
        yellow = (y - k) / (1.0 - k);
    }
    black = k;
}

void CmykToRgb(double cyan, double magenta, double yellow, double black, uint8_t& red, uint8_t& green,
               uint8_t& blue) {
    red = byteLow8(1.0 - (cyan * (1.0 - black) + black));
    green = byteLow8(1.0 - (magenta * (1.0 - black) + black));
    blue = byteLow8(1.0 - (yellow * (1.0 - black) + black));
}

}  // namespace orv
