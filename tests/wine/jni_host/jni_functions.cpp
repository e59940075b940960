// The JNIEnv function table of the host: what the library calls (image delivery, strings, the
// load hook's registration of natives) and nothing else. Each function checks its references and
// the pending exception (vm_state.h) and behaves as a VM does for the classes it knows.
#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recording_consumer.h"
#include "vm.h"
#include "vm_state.h"

namespace host {
namespace {

constexpr char kConsumerClass[] = "scanlink/jnihost/RecordingConsumer";
constexpr char kImageConsumer[] = "java/awt/image/ImageConsumer";
constexpr char kIndexColorModel[] = "java/awt/image/IndexColorModel";
constexpr char kDirectColorModel[] = "java/awt/image/DirectColorModel";
// Larger arrays would only exhaust the host; a VM would answer with OutOfMemoryError as well.
constexpr jsize kLargestArray = 1 << 26;

struct Method {
    const char* className;
    const char* name;
    const char* signature;
};

constexpr Method kMethods[] = {
    {kIndexColorModel, "<init>", "(II[B[B[B)V"},
    {kDirectColorModel, "<init>", "(IIII)V"},
    {kConsumerClass, "setDimensions", "(II)V"},
    {kConsumerClass, "setHints", "(I)V"},
    {kConsumerClass, "setColorModel", "(Ljava/awt/image/ColorModel;)V"},
    {kConsumerClass, "setPixels", "(IIIILjava/awt/image/ColorModel;[BII)V"},
    {kConsumerClass, "setPixels", "(IIIILjava/awt/image/ColorModel;[III)V"},
    {kConsumerClass, "setProperties", "(Ljava/util/Hashtable;)V"},
    {kConsumerClass, "imageComplete", "(I)V"},
};

struct Field {
    const char* className;
    const char* name;
    jint value;
};

constexpr Field kFields[] = {
    {kImageConsumer, "RANDOMPIXELORDER", 1},  {kImageConsumer, "TOPDOWNLEFTRIGHT", 2},
    {kImageConsumer, "COMPLETESCANLINES", 4}, {kImageConsumer, "SINGLEPASS", 8},
    {kImageConsumer, "SINGLEFRAME", 16},      {kImageConsumer, "IMAGEERROR", 1},
    {kImageConsumer, "SINGLEFRAMEDONE", 2},   {kImageConsumer, "STATICIMAGEDONE", 3},
    {kImageConsumer, "IMAGEABORTED", 4},
};

bool isKnownClass(std::string_view name) {
    return name == kImageConsumer || name == kIndexColorModel || name == kDirectColorModel ||
           name == "java/lang/Exception" || name.starts_with("QZ/korvel/twain/");
}

void raise(Env& env, const std::string& className, const std::string& message) {
    std::lock_guard lock(vmMutex());
    env.pending = newThrowable(className, message);
}

Object* classOf(Env& env, jclass ref, const char* function) {
    Object* object = target(env, ref, function);
    if (object != nullptr && object->kind != Kind::Class) {
        fault(std::string(function) + " given a " + object->className + " for a class");
        return nullptr;
    }
    return object;
}

const Method* method(jmethodID id, const char* function) {
    for (const Method& known : kMethods) {
        if (reinterpret_cast<jmethodID>(const_cast<Method*>(&known)) == id) {
            return &known;
        }
    }
    fault(std::string(function) + " given a method ID the VM never made");
    return nullptr;
}

// The arguments of a call by its signature: ints and objects, each in order.
struct Arguments {
    std::vector<jint> ints;
    std::vector<Object*> objects;
};

Arguments readArguments(Env& env, const char* signature, va_list args, const char* function) {
    Arguments read;
    for (const char* p = signature + 1; *p != ')'; ++p) {
        if (*p == 'I') {
            read.ints.push_back(va_arg(args, jint));
            continue;
        }
        while (*p == '[') {
            ++p;
        }
        if (*p == 'L') {
            p = std::strchr(p, ';');
        }
        jobject ref = va_arg(args, jobject);
        read.objects.push_back(ref == nullptr ? nullptr : target(env, ref, function));
    }
    return read;
}

std::uint32_t rgbOf(jbyte red, jbyte green, jbyte blue) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(red)) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(green)) << 8 |
           static_cast<std::uint8_t>(blue);
}

bool contiguous(std::uint32_t mask) {
    const std::uint32_t shifted = mask == 0 ? 0 : mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

// IndexColorModel(bits, size, r, g, b) and DirectColorModel(bits, rmask, gmask, bmask).
Object* construct(const Method& constructor, const Arguments& a) {
    Object* model = newObject(Kind::ColorModel, constructor.className);
    model->model.bits = a.ints[0];
    if (constructor.className == std::string_view(kDirectColorModel)) {
        for (int i = 0; i < 3; ++i) {
            model->model.masks[i] = static_cast<std::uint32_t>(a.ints[1 + i]);
            if (!contiguous(model->model.masks[i])) {
                fault("DirectColorModel given a mask whose bits are not contiguous");
            }
        }
        return model;
    }
    const jint size = a.ints[1];
    model->model.indexed = true;
    if (a.ints[0] < 1 || a.ints[0] > 16 || size < 1) {
        fault("IndexColorModel given " + std::to_string(a.ints[0]) + " bits and size " +
              std::to_string(size));
        return model;
    }
    for (Object* component : a.objects) {
        if (component == nullptr || component->kind != Kind::ByteArray ||
            component->bytes.size() < static_cast<std::size_t>(size)) {
            fault("IndexColorModel given a color array shorter than its size");
            return model;
        }
    }
    const std::size_t entries = std::max<std::size_t>(
        {std::size_t{256}, std::size_t{1} << a.ints[0], static_cast<std::size_t>(size)});
    model->model.map.assign(entries, 0);
    for (jint i = 0; i < size; ++i) {
        const auto index = static_cast<std::size_t>(i);
        model->model.map[index] = rgbOf(a.objects[0]->bytes[index], a.objects[1]->bytes[index],
                                        a.objects[2]->bytes[index]);
    }
    return model;
}

jclass JNICALL findClass(JNIEnv* jni, const char* name) {
    Env& env = enter(jni, "FindClass");
    if (!isKnownClass(name)) {
        raise(env, "java/lang/NoClassDefFoundError", name);
        return nullptr;
    }
    return static_cast<jclass>(newLocal(env, classObject(name)));
}

jclass JNICALL getObjectClass(JNIEnv* jni, jobject object) {
    Env& env = enter(jni, "GetObjectClass");
    Object* found = target(env, object, "GetObjectClass");
    return found == nullptr ? nullptr
                            : static_cast<jclass>(newLocal(env, classObject(found->className)));
}

jmethodID JNICALL getMethodID(JNIEnv* jni, jclass clazz, const char* name, const char* signature) {
    Env& env = enter(jni, "GetMethodID");
    const Object* owner = classOf(env, clazz, "GetMethodID");
    for (const Method& known : kMethods) {
        if (owner != nullptr && owner->className == known.className &&
            known.name == std::string_view(name) &&
            known.signature == std::string_view(signature)) {
            return reinterpret_cast<jmethodID>(const_cast<Method*>(&known));
        }
    }
    raise(env, "java/lang/NoSuchMethodError", name);
    return nullptr;
}

jobject JNICALL newObjectV(JNIEnv* jni, jclass clazz, jmethodID id, va_list args) {
    Env& env = enter(jni, "NewObjectV");
    const Object* owner = classOf(env, clazz, "NewObjectV");
    const Method* constructor = method(id, "NewObjectV");
    if (owner == nullptr || constructor == nullptr || owner->className != constructor->className ||
        std::string_view(constructor->name) != "<init>") {
        fault("NewObjectV given a method that is not a constructor of its class");
        return nullptr;
    }
    const Arguments arguments = readArguments(env, constructor->signature, args, "NewObjectV");
    return newLocal(env, construct(*constructor, arguments));
}

void JNICALL callVoidMethodV(JNIEnv* jni, jobject object, jmethodID id, va_list args) {
    Env& env = enter(jni, "CallVoidMethodV");
    Object* receiver = target(env, object, "CallVoidMethodV");
    const Method* called = method(id, "CallVoidMethodV");
    if (receiver == nullptr || called == nullptr || receiver->className != called->className ||
        receiver->consumer == nullptr) {
        fault("CallVoidMethodV given a method of another class than its object's");
        return;
    }
    Arguments arguments = readArguments(env, called->signature, args, "CallVoidMethodV");
    ConsumerCall call{called->name, std::move(arguments.ints)};
    if (!arguments.objects.empty()) {
        call.model = arguments.objects[0];
    }
    if (arguments.objects.size() > 1) {
        call.pixels = arguments.objects[1];
    }
    Object* thrown = receiver->consumer->receive(std::move(call));
    if (thrown != nullptr) {
        std::lock_guard lock(vmMutex());
        env.pending = thrown;
    }
}

jfieldID JNICALL getStaticFieldID(JNIEnv* jni, jclass clazz, const char* name,
                                  const char* signature) {
    Env& env = enter(jni, "GetStaticFieldID");
    const Object* owner = classOf(env, clazz, "GetStaticFieldID");
    for (const Field& known : kFields) {
        if (owner != nullptr && owner->className == known.className &&
            known.name == std::string_view(name) && std::string_view(signature) == "I") {
            return reinterpret_cast<jfieldID>(const_cast<Field*>(&known));
        }
    }
    raise(env, "java/lang/NoSuchFieldError", name);
    return nullptr;
}

jint JNICALL getStaticIntField(JNIEnv* jni, jclass clazz, jfieldID id) {
    Env& env = enter(jni, "GetStaticIntField");
    const Object* owner = classOf(env, clazz, "GetStaticIntField");
    for (const Field& known : kFields) {
        if (reinterpret_cast<jfieldID>(const_cast<Field*>(&known)) == id && owner != nullptr &&
            owner->className == known.className) {
            return known.value;
        }
    }
    fault("GetStaticIntField given a field ID the VM never made for that class");
    return 0;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* jni) {
    Env& env = enter(jni, "ExceptionOccurred", true);
    return static_cast<jthrowable>(newLocal(env, env.pending));
}

void JNICALL exceptionClear(JNIEnv* jni) {
    Env& env = enter(jni, "ExceptionClear", true);
    std::lock_guard lock(vmMutex());
    env.pending = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* jni) {
    Env& env = enter(jni, "ExceptionCheck", true);
    std::lock_guard lock(vmMutex());
    return env.pending != nullptr ? JNI_TRUE : JNI_FALSE;
}

jint JNICALL throwObject(JNIEnv* jni, jthrowable throwable) {
    Env& env = enter(jni, "Throw");
    Object* thrown = target(env, throwable, "Throw");
    if (thrown == nullptr || thrown->kind != Kind::Throwable) {
        fault("Throw given something that is not a Throwable");
        return -1;
    }
    std::lock_guard lock(vmMutex());
    env.pending = thrown;
    return 0;
}

jint JNICALL throwNew(JNIEnv* jni, jclass clazz, const char* message) {
    Env& env = enter(jni, "ThrowNew");
    const Object* thrownClass = classOf(env, clazz, "ThrowNew");
    if (thrownClass == nullptr) {
        return -1;
    }
    raise(env, thrownClass->className, message != nullptr ? message : "");
    return 0;
}

[[noreturn]] void JNICALL fatalError(JNIEnv*, const char* message) {
    std::fprintf(stderr, "FatalError from the library: %s\n", message);
    std::fflush(stderr);
    std::abort();
}

void JNICALL deleteLocalRef(JNIEnv* jni, jobject ref) {
    Env& env = enter(jni, "DeleteLocalRef", true);
    if (ref != nullptr) {
        deleteLocal(env, ref);
    }
}

template <Kind kind>
jobject newArray(JNIEnv* jni, jsize length, const char* function) {
    Env& env = enter(jni, function);
    if (length < 0) {
        raise(env, "java/lang/NegativeArraySizeException", std::to_string(length));
        return nullptr;
    }
    if (length > kLargestArray) {
        raise(env, "java/lang/OutOfMemoryError", "Java heap space");
        return nullptr;
    }
    Object* array = newObject(kind, kind == Kind::ByteArray ? "[B" : "[I");
    array->bytes.resize(kind == Kind::ByteArray ? static_cast<std::size_t>(length) : 0);
    array->ints.resize(kind == Kind::IntArray ? static_cast<std::size_t>(length) : 0);
    return newLocal(env, array);
}

jbyteArray JNICALL newByteArray(JNIEnv* jni, jsize length) {
    return static_cast<jbyteArray>(newArray<Kind::ByteArray>(jni, length, "NewByteArray"));
}

jintArray JNICALL newIntArray(JNIEnv* jni, jsize length) {
    return static_cast<jintArray>(newArray<Kind::IntArray>(jni, length, "NewIntArray"));
}

template <typename Element>
std::vector<Element>& elementsOf(Object& object);
template <>
std::vector<jbyte>& elementsOf<jbyte>(Object& object) {
    return object.bytes;
}
template <>
std::vector<jint>& elementsOf<jint>(Object& object) {
    return object.ints;
}

// The elements as a copy that is the caller's until released, as a VM that copies hands them out.
template <typename Element, Kind kind>
Element* getElements(JNIEnv* jni, jobject array, jboolean* isCopy, const char* function) {
    Env& env = enter(jni, function);
    Object* object = target(env, array, function);
    if (object == nullptr || object->kind != kind) {
        fault(std::string(function) + " given something that is not its kind of array");
        return nullptr;
    }
    const std::vector<Element>& elements = elementsOf<Element>(*object);
    auto* copy = new Element[elements.size() + 1];
    std::copy(elements.begin(), elements.end(), copy);
    std::lock_guard lock(vmMutex());
    env.pins.push_back({object, copy, env.liveLocals.size() - 1});
    if (isCopy != nullptr) {
        *isCopy = JNI_TRUE;
    }
    return copy;
}

template <typename Element>
void releaseElements(JNIEnv* jni, jobject array, Element* elements, jint mode,
                     const char* function) {
    Env& env = enter(jni, function, true);
    Object* object = target(env, array, function);
    std::lock_guard lock(vmMutex());
    const auto pin = std::find_if(env.pins.begin(), env.pins.end(), [&](const Pin& p) {
        return p.object == object && p.elements == elements;
    });
    if (object == nullptr || pin == env.pins.end()) {
        fault(std::string(function) + " given elements the VM never handed out for that array");
        return;
    }
    if (mode != JNI_ABORT) {
        std::vector<Element>& target = elementsOf<Element>(*object);
        std::copy(elements, elements + target.size(), target.begin());
    }
    if (mode != JNI_COMMIT) {
        delete[] elements;
        env.pins.erase(pin);
    }
}

jbyte* JNICALL getByteArrayElements(JNIEnv* jni, jbyteArray array, jboolean* isCopy) {
    return getElements<jbyte, Kind::ByteArray>(jni, array, isCopy, "GetByteArrayElements");
}

void JNICALL releaseByteArrayElements(JNIEnv* jni, jbyteArray array, jbyte* elements, jint mode) {
    releaseElements(jni, array, elements, mode, "ReleaseByteArrayElements");
}

jint* JNICALL getIntArrayElements(JNIEnv* jni, jintArray array, jboolean* isCopy) {
    return getElements<jint, Kind::IntArray>(jni, array, isCopy, "GetIntArrayElements");
}

void JNICALL releaseIntArrayElements(JNIEnv* jni, jintArray array, jint* elements, jint mode) {
    releaseElements(jni, array, elements, mode, "ReleaseIntArrayElements");
}

Object* stringOf(Env& env, jstring string, const char* function) {
    Object* object = target(env, string, function);
    if (object != nullptr && object->kind != Kind::String) {
        fault(std::string(function) + " given a " + object->className + " for a String");
        return nullptr;
    }
    return object;
}

jsize JNICALL getStringLength(JNIEnv* jni, jstring string) {
    Env& env = enter(jni, "GetStringLength");
    const Object* object = stringOf(env, string, "GetStringLength");
    return object == nullptr ? 0 : static_cast<jsize>(object->text.size());
}

// A copy of the characters, followed not by a terminator but by U+FFFF: JNI promises none.
const jchar* JNICALL getStringChars(JNIEnv* jni, jstring string, jboolean* isCopy) {
    Env& env = enter(jni, "GetStringChars");
    Object* object = stringOf(env, string, "GetStringChars");
    if (object == nullptr) {
        return nullptr;
    }
    auto* copy = new jchar[object->text.size() + 1];
    std::copy(object->text.begin(), object->text.end(), copy);
    copy[object->text.size()] = 0xFFFF;
    std::lock_guard lock(vmMutex());
    env.pins.push_back({object, copy, env.liveLocals.size() - 1});
    if (isCopy != nullptr) {
        *isCopy = JNI_TRUE;
    }
    return copy;
}

void JNICALL releaseStringChars(JNIEnv* jni, jstring string, const jchar* chars) {
    Env& env = enter(jni, "ReleaseStringChars", true);
    Object* object = stringOf(env, string, "ReleaseStringChars");
    std::lock_guard lock(vmMutex());
    const auto pin = std::find_if(env.pins.begin(), env.pins.end(), [&](const Pin& p) {
        return p.object == object && p.elements == chars;
    });
    if (object == nullptr || pin == env.pins.end()) {
        fault("ReleaseStringChars given characters the VM never handed out for that string");
        return;
    }
    delete[] chars;
    env.pins.erase(pin);
}

jint JNICALL registerNatives(JNIEnv* jni, jclass clazz, const JNINativeMethod* methods,
                             jint count) {
    Env& env = enter(jni, "RegisterNatives");
    const Object* owner = classOf(env, clazz, "RegisterNatives");
    if (owner == nullptr || methods == nullptr || count <= 0) {
        fault("RegisterNatives given no class or no methods");
        return JNI_ERR;
    }
    for (jint i = 0; i < count; ++i) {
        recordRegisteredNative(owner->className.c_str(), methods[i]);
    }
    return JNI_OK;
}

[[noreturn]] void unsupported(std::size_t slot) {
    std::fprintf(stderr, "the library called JNIEnv function %zu, which the host has not\n", slot);
    std::fflush(stderr);
    std::abort();
}

template <std::size_t Slot>
void JNICALL trap() {
    unsupported(Slot);
}

template <std::size_t... Slots>
JNINativeInterface_ table(std::index_sequence<Slots...>) {
    JNINativeInterface_ functions;
    void (*traps[])() = {reinterpret_cast<void (*)()>(&trap<Slots>)...};
    static_assert(sizeof(traps) == sizeof(functions));
    std::memcpy(&functions, traps, sizeof(functions));
    functions.FindClass = findClass;
    functions.GetObjectClass = getObjectClass;
    functions.GetMethodID = getMethodID;
    functions.NewObjectV = newObjectV;
    functions.CallVoidMethodV = callVoidMethodV;
    functions.GetStaticFieldID = getStaticFieldID;
    functions.GetStaticIntField = getStaticIntField;
    functions.ExceptionOccurred = exceptionOccurred;
    functions.ExceptionClear = exceptionClear;
    functions.ExceptionCheck = exceptionCheck;
    functions.Throw = throwObject;
    functions.ThrowNew = throwNew;
    functions.FatalError = fatalError;
    functions.DeleteLocalRef = deleteLocalRef;
    functions.NewByteArray = newByteArray;
    functions.NewIntArray = newIntArray;
    functions.GetByteArrayElements = getByteArrayElements;
    functions.ReleaseByteArrayElements = releaseByteArrayElements;
    functions.GetIntArrayElements = getIntArrayElements;
    functions.ReleaseIntArrayElements = releaseIntArrayElements;
    functions.GetStringLength = getStringLength;
    functions.GetStringChars = getStringChars;
    functions.ReleaseStringChars = releaseStringChars;
    functions.RegisterNatives = registerNatives;
    return functions;
}

}  // namespace

const JNINativeInterface_* jniFunctions() {
    static const JNINativeInterface_ functions =
        table(std::make_index_sequence<sizeof(JNINativeInterface_) / sizeof(void*)>());
    return &functions;
}

}  // namespace host
