// One polyline vertex: position, start and end width, and the bulge of the segment that
// starts at it. Bars and other polylines are ordered arrays of these.
#pragma once

#include "host/sds.h"

class CSDSPointExt {
  public:
    CSDSPointExt() = default;
    explicit CSDSPointExt(const sds_point point) { SetPoint(point); }
    CSDSPointExt(double x, double y, double z) { SetPoint(x, y, z); }
    virtual ~CSDSPointExt() = default;
    CSDSPointExt(const CSDSPointExt&) = default;
    CSDSPointExt& operator=(const CSDSPointExt&) = default;

    // Placing a vertex anew forgets the widths and bulge it had.
    void SetPoint(double newX, double newY, double newZ) {
        x = newX;
        y = newY;
        z = newZ;
        startWidth = 0.0;
        endWidth = 0.0;
        bulge = 0.0;
    }
    void SetPoint(const sds_point point) { SetPoint(point[0], point[1], point[2]); }
    void GetPoint(sds_point point) const {
        point[0] = x;
        point[1] = y;
        point[2] = z;
    }

    double GetX() const { return x; }
    double GetY() const { return y; }
    double GetZ() const { return z; }
    double GetStartWidth() const { return startWidth; }
    double GetEndWidth() const { return endWidth; }
    double GetBulge() const { return bulge; }
    void SetX(double value) { x = value; }
    void SetY(double value) { y = value; }
    void SetZ(double value) { z = value; }
    void SetStartWidth(double value) { startWidth = value; }
    void SetEndWidth(double value) { endWidth = value; }
    void SetBulge(double value) { bulge = value; }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
    double bulge = 0.0;
};
