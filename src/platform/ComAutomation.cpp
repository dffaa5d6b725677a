// Late-bound automation calls: names resolved by IDispatch::GetIDsOfNames, then IDispatch::Invoke with
// VARIANT arguments, as Microsoft documents automation for clients without a type library.
#include "platform/ComAutomation.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <string>
#include <vector>
#endif

namespace kibic {

bool MeansClassMissing(qint32 result)
{
    return result == kClassNotRegistered || result == kInvalidClassString;
}

QString HresultText(qint32 result)
{
    return QStringLiteral("0x") + QString::number(static_cast<quint32>(result), 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

#ifdef Q_OS_WIN

namespace {

// COM on this thread for as long as an object lives: CoInitializeEx in a single-threaded apartment, as
// the window's thread has it already (S_FALSE, which still counts and must be balanced). A thread that
// some other code started in the multi-threaded apartment answers RPC_E_CHANGED_MODE: COM is usable
// there and is not ours to stop.
struct Apartment
{
    Apartment()
        : Started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    {
    }
    ~Apartment()
    {
        if (Started)
            CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    const bool Started;
};

QString FromBstr(BSTR text)
{
    return text ? QString::fromWCharArray(text, static_cast<qsizetype>(SysStringLen(text))) : QString();
}

QString SystemText(HRESULT result)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed() : QString();
    if (buffer)
        LocalFree(buffer);
    return text.isEmpty() ? QStringLiteral("błąd %1").arg(HresultText(result)) : text;
}

// The failure of a call that returned result: the object's own description (IErrorInfo) when it left one
// on the thread, else the system's text of the HRESULT.
ComFailure FailureOf(HRESULT result, const QString& what)
{
    ComFailure failure { static_cast<qint32>(result), QString(), QString() };
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        BSTR source = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)))
            failure.Text = FromBstr(description).trimmed();
        if (SUCCEEDED(info->GetSource(&source)))
            failure.Source = FromBstr(source);
        SysFreeString(description);
        SysFreeString(source);
        info->Release();
    }
    if (failure.Text.isEmpty())
        failure.Text = SystemText(result);
    if (!what.isEmpty())
        failure.Text = what + QStringLiteral(": ") + failure.Text;
    return failure;
}

// The failure an object raised during Invoke (DISP_E_EXCEPTION): its code and texts from EXCEPINFO,
// whose strings are freed here.
ComFailure FailureOf(EXCEPINFO& exception)
{
    if (exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    ComFailure failure;
    failure.Result = exception.scode != 0 ? static_cast<qint32>(exception.scode) : static_cast<qint32>(exception.wCode);
    failure.Text = FromBstr(exception.bstrDescription).trimmed();
    failure.Source = FromBstr(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    if (failure.Text.isEmpty())
        failure.Text = SystemText(static_cast<HRESULT>(failure.Result));
    return failure;
}

// A VARIANT that frees what it holds (a BSTR, an object) when it goes.
class Variant
{
public:
    Variant() { VariantInit(&Value); }
    ~Variant() { VariantClear(&Value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT Value;
};

void Assign(Variant& target, const QVariant& value)
{
    VARIANT& v = target.Value;
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString();
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), static_cast<UINT>(text.size()));
        if (!v.bstrVal)
            throw ComFailure { static_cast<qint32>(E_OUTOFMEMORY), SystemText(E_OUTOFMEMORY), QString() };
        return;
    }
    case QMetaType::Bool:
        v.vt = VT_BOOL;
        v.boolVal = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool fits = false;
        const int number = value.toInt(&fits);
        if (!fits)
            throw ComFailure { static_cast<qint32>(DISP_E_OVERFLOW), SystemText(DISP_E_OVERFLOW), QString() };
        v.vt = VT_I4;
        v.lVal = number;
        return;
    }
    case QMetaType::Double:
        v.vt = VT_R8;
        v.dblVal = value.toDouble();
        return;
    default:
        if (value.isValid())
            throw ComFailure { static_cast<qint32>(DISP_E_TYPEMISMATCH), SystemText(DISP_E_TYPEMISMATCH), QString() };
        // An argument left out: automation's "optional parameter not given".
        v.vt = VT_ERROR;
        v.scode = DISP_E_PARAMNOTFOUND;
        return;
    }
}

QVariant ToQVariant(const VARIANT& value)
{
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_BSTR:
        return FromBstr(value.bstrVal);
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE;
    case VT_I4:
        return static_cast<qint32>(value.lVal);
    case VT_I2:
        return static_cast<qint32>(value.iVal);
    case VT_UI1:
        return static_cast<qint32>(value.bVal);
    case VT_R8:
        return value.dblVal;
    default: {
        Variant text;
        if (SUCCEEDED(VariantChangeType(&text.Value, const_cast<VARIANT*>(&value), 0, VT_BSTR)))
            return FromBstr(text.Value.bstrVal);
        return {};
    }
    }
}

} // namespace

struct ComObject::Interface
{
    std::shared_ptr<Apartment> Com; // released after the object
    IDispatch* Dispatch = nullptr;
    Interface(std::shared_ptr<Apartment> com, IDispatch* dispatch)
        : Com(std::move(com))
        , Dispatch(dispatch)
    {
    }
    ~Interface()
    {
        if (Dispatch)
            Dispatch->Release();
    }
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;

    // Invokes name with the arguments; the result lands in result.
    void Invoke(const QString& name, WORD flags, const QVariantList& arguments, Variant& result) const
    {
        std::wstring wide = name.toStdWString();
        LPOLESTR names[] = { wide.data() };
        DISPID id = DISPID_UNKNOWN;
        const HRESULT found = Dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(found))
            throw FailureOf(found, name);
        // Automation takes the arguments last first.
        std::vector<Variant> given(static_cast<std::size_t>(arguments.size()));
        for (qsizetype i = 0; i < arguments.size(); ++i)
            Assign(given[static_cast<std::size_t>(arguments.size() - 1 - i)], arguments[i]);
        std::vector<VARIANT> values;
        values.reserve(given.size());
        for (const Variant& value : given)
            values.push_back(value.Value); // a shallow copy: the Variants keep ownership
        DISPPARAMS parameters { values.empty() ? nullptr : values.data(), nullptr, static_cast<UINT>(values.size()), 0 };
        EXCEPINFO exception {};
        UINT wrongArgument = 0;
        const HRESULT called = Dispatch->Invoke(
            id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result.Value, &exception, &wrongArgument);
        if (called == DISP_E_EXCEPTION)
            throw FailureOf(exception);
        if (FAILED(called))
            throw FailureOf(called, name);
    }
};

ComObject ComObject::Create(const QString& progId)
{
    auto com = std::make_shared<Apartment>();
    const std::wstring name = progId.toStdWString();
    CLSID classId {};
    const HRESULT known = CLSIDFromProgID(name.c_str(), &classId);
    if (FAILED(known))
        throw FailureOf(known, progId);
    IDispatch* dispatch = nullptr;
    const HRESULT created = CoCreateInstance(
        classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(created) || !dispatch)
        throw FailureOf(FAILED(created) ? created : E_NOINTERFACE, progId);
    return ComObject(std::make_unique<Interface>(std::move(com), dispatch));
}

QVariant ComObject::Call(const QString& method, const QVariantList& arguments)
{
    Variant result;
    m_object->Invoke(method, DISPATCH_METHOD, arguments, result);
    return ToQVariant(result.Value);
}

QVariant ComObject::Get(const QString& property, const QVariantList& arguments)
{
    Variant result;
    m_object->Invoke(property, DISPATCH_PROPERTYGET, arguments, result);
    return ToQVariant(result.Value);
}

namespace {

IDispatch* TakeObject(Variant& result, const QString& name)
{
    if (result.Value.vt != VT_DISPATCH || !result.Value.pdispVal)
        throw ComFailure { static_cast<qint32>(DISP_E_TYPEMISMATCH),
            name + QStringLiteral(": ") + SystemText(DISP_E_TYPEMISMATCH), QString() };
    IDispatch* object = result.Value.pdispVal;
    object->AddRef(); // the Variant releases its own reference
    return object;
}

} // namespace

ComObject ComObject::CallObject(const QString& method, const QVariantList& arguments)
{
    Variant result;
    m_object->Invoke(method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result);
    return ComObject(std::make_unique<Interface>(m_object->Com, TakeObject(result, method)));
}

ComObject ComObject::GetChild(const QString& property, const QVariantList& arguments)
{
    Variant result;
    m_object->Invoke(property, DISPATCH_PROPERTYGET, arguments, result);
    return ComObject(std::make_unique<Interface>(m_object->Com, TakeObject(result, property)));
}

#else

// Without COM no class is registered: every creation fails as on a Windows without the class, so no
// object exists to be called.
struct ComObject::Interface
{
};

namespace {

ComFailure NoCom(const QString& name)
{
    return ComFailure { kClassNotRegistered, QStringLiteral("%1: poza systemem Windows nie ma klas COM").arg(name),
        QString() };
}

} // namespace

ComObject ComObject::Create(const QString& progId)
{
    throw NoCom(progId);
}

QVariant ComObject::Call(const QString& method, const QVariantList&)
{
    throw NoCom(method);
}

ComObject ComObject::CallObject(const QString& method, const QVariantList&)
{
    throw NoCom(method);
}

QVariant ComObject::Get(const QString& property, const QVariantList&)
{
    throw NoCom(property);
}

ComObject ComObject::GetChild(const QString& property, const QVariantList&)
{
    throw NoCom(property);
}

#endif

ComObject::ComObject(std::unique_ptr<Interface> object)
    : m_object(std::move(object))
{
}

ComObject::ComObject(ComObject&&) noexcept = default;
ComObject& ComObject::operator=(ComObject&&) noexcept = default;
ComObject::~ComObject() = default;

} // namespace kibic
