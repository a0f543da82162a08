#pragma once
// The values just outside each enumeration property of a face: the first past its last
// member, one far off, and -1 (255 in the quint8 the enumerations are kept in).
#include <QMetaObject>
#include <QMetaProperty>
#include <functional>

namespace LumoTest {

// Calls check with every enumeration property the class itself declares and each value
// outside its members; returns how many such properties there are.
inline int ForEachValueOutsideMembers(const QMetaObject& meta,
                                      const std::function<void(const QMetaProperty&, int)>& check) {
  int enumerations = 0;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    const QMetaProperty property = meta.property(i);
    if (!property.isEnumType())
      continue;
    ++enumerations;
    for (const int outside : {property.enumerator().keyCount(), 99, -1})
      check(property, outside);
  }
  return enumerations;
}

} // namespace LumoTest
