// Exported entry points of the planar geometry routines: every argument by
// reference, flags as 32-bit integers, arrays as pointers with the counts the
// caller passes.
#include <cstdint>

#include "common/exports_abi.h"
#include "common/geometry.h"

using quenzel::ConstDoubles;
using quenzel::ConstFloats;
using quenzel::extent;
using quenzel::RingEnds;

extern "C" {

QZ_EXPORT float DISTANCE(const float* x1, const float* y1, const float* x2, const float* y2) {
  return quenzel::DISTANCE(*x1, *y1, *x2, *y2);
}

QZ_EXPORT float DISTANCE_8(const double* x1, const double* y1, const double* x2, const double* y2) {
  return quenzel::DISTANCE_8(*x1, *y1, *x2, *y2);
}

QZ_EXPORT float VECTOR_MAGNITUDE(const float* x, const float* y) { return quenzel::VECTOR_MAGNITUDE(*x, *y); }

QZ_EXPORT float CIRCLE_WIDTH(const float* r, const float* d) { return quenzel::CIRCLE_WIDTH(*r, *d); }

QZ_EXPORT quenzel::FFlag SAME_POINT(const float* x1, const float* y1, const float* x2, const float* y2,
                                    const float* tol) {
  return quenzel::flag(quenzel::SAME_POINT(*x1, *y1, *x2, *y2, *tol));
}

QZ_EXPORT quenzel::FFlag SAME_POINT_8(const double* x1, const double* y1, const double* x2, const double* y2,
                                      const double* tol) {
  return quenzel::flag(quenzel::SAME_POINT_8(*x1, *y1, *x2, *y2, *tol));
}

QZ_EXPORT float SAME_SIDE(const float* x1, const float* y1, const float* x2, const float* y2, const float* px,
                          const float* py, const float* qx, const float* qy) {
  return quenzel::SAME_SIDE(*x1, *y1, *x2, *y2, *px, *py, *qx, *qy);
}

QZ_EXPORT float SAME_SIDE_8(const double* x1, const double* y1, const double* x2, const double* y2,
                            const double* px, const double* py, const double* qx, const double* qy) {
  return quenzel::SAME_SIDE_8(*x1, *y1, *x2, *y2, *px, *py, *qx, *qy);
}

QZ_EXPORT quenzel::FFlag INTERSECT_POINT(const float* x1, const float* y1, const float* x2, const float* y2,
                                         const float* px, const float* py) {
  return quenzel::flag(quenzel::INTERSECT_POINT(*x1, *y1, *x2, *y2, *px, *py));
}

QZ_EXPORT quenzel::FFlag INTERSECT_LINE(const float* x1, const float* y1, const float* x2, const float* y2,
                                        const float* x3, const float* y3, const float* x4, const float* y4) {
  return quenzel::flag(quenzel::INTERSECT_LINE(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4));
}

QZ_EXPORT quenzel::FFlag INTERSECT_LINE_8(const double* x1, const double* y1, const double* x2,
                                          const double* y2, const double* x3, const double* y3,
                                          const double* x4, const double* y4) {
  return quenzel::flag(quenzel::INTERSECT_LINE_8(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4));
}

QZ_EXPORT std::int32_t INTERSECT_LINE_V2(const float* x1, const float* y1, const float* x2, const float* y2,
                                         const float* x3, const float* y3, const float* x4, const float* y4) {
  return quenzel::INTERSECT_LINE_V2(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4);
}

QZ_EXPORT std::int32_t INTERSECT_LINE_V2_8(const double* x1, const double* y1, const double* x2,
                                           const double* y2, const double* x3, const double* y3,
                                           const double* x4, const double* y4) {
  return quenzel::INTERSECT_LINE_V2_8(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4);
}

QZ_EXPORT quenzel::FFlag INTERSECTION_POINT(const float* x1, const float* y1, const float* x2,
                                            const float* y2, const float* x3, const float* y3,
                                            const float* x4, const float* y4, float* xi, float* yi) {
  return quenzel::flag(quenzel::INTERSECTION_POINT(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4, *xi, *yi));
}

QZ_EXPORT quenzel::FFlag INTERSECTION_POINT_8(const double* x1, const double* y1, const double* x2,
                                              const double* y2, const double* x3, const double* y3,
                                              const double* x4, const double* y4, double* xi, double* yi) {
  return quenzel::flag(quenzel::INTERSECTION_POINT_8(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4, *xi, *yi));
}

QZ_EXPORT quenzel::FFlag INSIDE_POLYGON(const float* px, const float* py, const float* x, const float* y,
                                        const std::int32_t* n, const float* xmin, const std::int32_t* ir,
                                        const std::int32_t* nr) {
  return quenzel::flag(quenzel::INSIDE_POLYGON(*px, *py, ConstFloats(x, extent(*n)), ConstFloats(y, extent(*n)),
                                               *n, *xmin, RingEnds(ir, extent(*nr)), *nr));
}

QZ_EXPORT quenzel::FFlag INSIDE_POLYGON_8(const double* px, const double* py, const double* x,
                                          const double* y, const std::int32_t* n, const double* xmin,
                                          const std::int32_t* ir, const std::int32_t* nr) {
  return quenzel::flag(quenzel::INSIDE_POLYGON_8(*px, *py, ConstDoubles(x, extent(*n)),
                                                 ConstDoubles(y, extent(*n)), *n, *xmin,
                                                 RingEnds(ir, extent(*nr)), *nr));
}

QZ_EXPORT quenzel::FFlag INTERPOLATE_TRIANGLE(const float* px, const float* py, const float* x,
                                              const float* y, const float* zv, float* z) {
  return quenzel::flag(
      quenzel::INTERPOLATE_TRIANGLE(*px, *py, ConstFloats(x, 3), ConstFloats(y, 3), ConstFloats(zv, 3), *z));
}

QZ_EXPORT quenzel::FFlag INTERPOLATE_TRIANGLE_8(const double* px, const double* py, const double* x,
                                                const double* y, const float* zv, float* z) {
  return quenzel::flag(quenzel::INTERPOLATE_TRIANGLE_8(*px, *py, ConstDoubles(x, 3), ConstDoubles(y, 3),
                                                       ConstFloats(zv, 3), *z));
}

QZ_EXPORT quenzel::FFlag INTERPOLATE_ELEMENT_8(const double* px, const double* py, const double* x,
                                               const double* y, const float* zv, const std::int32_t* nv,
                                               const double* xmin, float* z) {
  return quenzel::flag(quenzel::INTERPOLATE_ELEMENT_8(*px, *py, ConstDoubles(x, extent(*nv)),
                                                      ConstDoubles(y, extent(*nv)),
                                                      ConstFloats(zv, extent(*nv)), *nv, *xmin, *z));
}

QZ_EXPORT float ANGLE2D(const double* x1, const double* y1, const double* x2, const double* y2,
                        const double* x3, const double* y3, const double* x4, const double* y4) {
  return quenzel::ANGLE2D(*x1, *y1, *x2, *y2, *x3, *y3, *x4, *y4);
}

QZ_EXPORT void HYD_PARAM(const float* x1, const float* z1, const float* x2, const float* z2, const float* wl,
                         const float* active, float* area, float* width, float* perimeter) {
  quenzel::HYD_PARAM(*x1, *z1, *x2, *z2, *wl, *active, *area, *width, *perimeter);
}

QZ_EXPORT void HYD_PARAM2(const float* x1, const float* z1, const float* active1, const float* x2,
                          const float* z2, const float* active2, const float* wl, float* area1, float* area2,
                          float* width1, float* width2, float* perimeter1, float* perimeter2) {
  quenzel::HYD_PARAM2(*x1, *z1, *active1, *x2, *z2, *active2, *wl, *area1, *area2, *width1, *width2,
                      *perimeter1, *perimeter2);
}

QZ_EXPORT void GEO_SHIFT(const double* x, const double* y, const std::int32_t* n, const double* x0,
                         const double* y0, const float* angle, float* u, float* v) {
  quenzel::GEO_SHIFT(ConstDoubles(x, extent(*n)), ConstDoubles(y, extent(*n)), *n, *x0, *y0, *angle,
                     quenzel::OneBasedView<float>(u, extent(*n)), quenzel::OneBasedView<float>(v, extent(*n)));
}

// The first point is read even for a count below 1.
QZ_EXPORT void SET_SUB_GRID_AREA(const float* x, const float* y, const std::int32_t* n, const float* cell,
                                 const std::int32_t* nJ, const std::int32_t* nI, std::int32_t* j1,
                                 std::int32_t* i1, std::int32_t* j2, std::int32_t* i2, float* xmin,
                                 float* ymin, float* xmax, float* ymax) {
  const std::size_t points = *n > 1 ? extent(*n) : 1;
  quenzel::SET_SUB_GRID_AREA(ConstFloats(x, points), ConstFloats(y, points), *n, *cell, *nJ, *nI, *j1, *i1,
                             *j2, *i2, *xmin, *ymin, *xmax, *ymax);
}
}
