// The objects of the host's Java world: classes, strings, arrays, throwables, the color models of
// java.awt.image and image consumers. Every object lives until the process ends, so a reference
// can always be told apart from garbage; the references themselves are checked by the VM (vm.h).
#ifndef SCANLINK_TESTS_JNI_HOST_JAVA_OBJECTS_H
#define SCANLINK_TESTS_JNI_HOST_JAVA_OBJECTS_H

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

namespace host {

class RecordingConsumer;

enum class Kind { Class, String, ByteArray, IntArray, Throwable, ColorModel, Consumer };

// An IndexColorModel or a DirectColorModel, with what java.awt.image makes of a pixel.
struct ColorModel {
    bool indexed = false;
    jint bits = 0;
    std::vector<std::uint32_t> map;  // indexed: 0xRRGGBB per index, black past the map's size
    std::uint32_t masks[3] = {};     // direct: red, green, blue
    // 0xRRGGBB as ColorModel.getRGB gives it, alpha left out.
    std::uint32_t rgb(std::uint32_t pixel) const;
};

struct Object {
    Kind kind;
    std::string className;  // the object's class; for a class, the one it stands for
    std::u16string text;    // String
    std::vector<jbyte> bytes;
    std::vector<jint> ints;
    std::string message;  // Throwable
    ColorModel model;
    RecordingConsumer* consumer = nullptr;
};

// A new object that lives as long as the process.
Object* newObject(Kind kind, std::string className);
Object* newString(const std::u16string& text);
Object* newThrowable(const std::string& className, const std::string& message);
// The one object that stands for the class of that name.
Object* classObject(const std::string& name);

}  // namespace host

#endif
