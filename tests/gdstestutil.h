#ifndef CELVANE_TESTS_GDSTESTUTIL_H
#define CELVANE_TESTS_GDSTESTUTIL_H

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QVector>

#include <cmath>

/// A GDSII file written record by record, as a layout editor would, in microns on a nanometre
/// grid.
class Gds
{
public:
    Gds()
    {
        record(0x00, 0x02, int16s({600}));               // HEADER
        record(0x01, 0x02, int16s(QVector<int>(12, 1))); // BGNLIB
        record(0x02, 0x06, "LIB");                       // LIBNAME
        record(0x03, 0x05, real8(0.001) + real8(1e-9));  // UNITS: nm, in microns
    }
    Gds &cell(const QByteArray &name)
    {
        record(0x05, 0x02, int16s(QVector<int>(12, 1))); // BGNSTR
        record(0x06, 0x06, name);                        // STRNAME
        return *this;
    }
    /// A polygon given in microns.
    Gds &boundary(int layer, QVector<double> microns)
    {
        record(0x08, 0x00, {});              // BOUNDARY
        record(0x0D, 0x02, int16s({layer})); // LAYER
        record(0x0E, 0x02, int16s({0}));     // DATATYPE
        microns << microns[0] << microns[1]; // closed, as GDSII wants
        record(0x10, 0x03, nm(microns));     // XY
        record(0x11, 0x00, {});              // ENDEL
        return *this;
    }
    Gds &place(const QByteArray &name, double x, double y)
    {
        record(0x0A, 0x00, {});   // SREF
        record(0x12, 0x06, name); // SNAME
        record(0x10, 0x03, nm({x, y}));
        record(0x11, 0x00, {});
        return *this;
    }
    /// A placement mirrored about the x axis and then turned by angle degrees (STRANS bit 0,
    /// the leftmost, as layout editors write it).
    Gds &placeMirrored(const QByteArray &name, double x, double y, double angle)
    {
        record(0x0A, 0x00, {});                          // SREF
        record(0x12, 0x06, name);                        // SNAME
        record(0x1A, 0x01, QByteArray::fromHex("8000")); // STRANS
        if (angle != 0.0)
            record(0x1C, 0x05, real8(angle)); // ANGLE
        record(0x10, 0x03, nm({x, y}));
        record(0x11, 0x00, {});
        return *this;
    }
    Gds &endCell()
    {
        record(0x07, 0x00, {}); // ENDSTR
        return *this;
    }
    /// SUB holds a 4 x 1 rectangle on layer 2; TOP a 2 x 2 square and an L on layer 1 and SUB
    /// placed at (0, 5). SUB comes first in the file, so the top cell has to be found.
    static QByteArray squareLAndRectangle()
    {
        return Gds()
            .cell("SUB")
            .boundary(2, {0, 0, 4, 0, 4, 1, 0, 1})
            .endCell()
            .cell("TOP")
            .boundary(1, {0, 0, 0, 2, 2, 2, 2, 0})
            .boundary(1, {3, 0, 6, 0, 6, 1, 4, 1, 4, 3, 3, 3})
            .place("SUB", 0, 5)
            .endCell()
            .bytes();
    }
    /// Writes mask.gds in dir; its name, or empty when it cannot.
    static QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
    {
        const QString name = dir.filePath(QStringLiteral("mask.gds"));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return name;
    }

    QByteArray bytes()
    {
        QByteArray all = data;
        all += QByteArray::fromHex("00040400"); // ENDLIB
        return all;
    }

private:
    void record(int type, int dataType, QByteArray payload)
    {
        if (payload.size() % 2)
            payload += '\0';
        const int length = 4 + payload.size();
        data += char(length >> 8);
        data += char(length & 255);
        data += char(type);
        data += char(dataType);
        data += payload;
    }
    static QByteArray int16s(const QVector<int> &values)
    {
        QByteArray out;
        for (int v : values)
            out += char((v >> 8) & 255), out += char(v & 255);
        return out;
    }
    static QByteArray nm(const QVector<double> &microns)
    {
        QByteArray out;
        for (double v : microns) {
            const quint32 n = quint32(qint32(std::lround(v * 1000.0)));
            for (int shift = 24; shift >= 0; shift -= 8)
                out += char((n >> shift) & 255);
        }
        return out;
    }
    /// GDSII's excess-64, base-16 real.
    static QByteArray real8(double v)
    {
        int exponent = 64;
        while (v >= 1.0)
            v /= 16.0, ++exponent;
        while (v < 1.0 / 16.0)
            v *= 16.0, --exponent;
        quint64 mantissa = quint64(std::ldexp(v, 56) + 0.5);
        QByteArray out(1, char(exponent));
        for (int shift = 48; shift >= 0; shift -= 8)
            out += char((mantissa >> shift) & 255);
        return out;
    }

    QByteArray data;
};

#endif
