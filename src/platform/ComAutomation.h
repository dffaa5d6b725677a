// Automation objects of Windows (COM) called by name through IDispatch, without type libraries: what
// creating a scoring database through ADOX and ADO needs. Elsewhere no class is registered.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace kibic {

// HRESULTs the callers decide by; their values are those of the Windows headers.
inline constexpr qint32 kClassNotRegistered = static_cast<qint32>(0x80040154); // REGDB_E_CLASSNOTREG
inline constexpr qint32 kInvalidClassString = static_cast<qint32>(0x800401F3); // CO_E_CLASSSTRING

// Whether a failed creation means that no class of that name is registered on this computer (the name
// is unknown, or known without a server), rather than that the class failed.
[[nodiscard]] bool MeansClassMissing(qint32 result);

// "0x80040154": an HRESULT as Windows' documentation writes it.
[[nodiscard]] QString HresultText(qint32 result);

// A COM call that failed: its HRESULT (for a failure the object raised, the code it raised), and the text
// the object gave through IErrorInfo or EXCEPINFO, else the system's text of the HRESULT.
struct ComFailure
{
    qint32 Result = 0;
    QString Text;
    QString Source; // the object that raised it, when it says
};

// One automation object. Calls run on the thread that created the object; each raises ComFailure when
// the call fails. Arguments and results are QVariants: text, whole numbers, booleans, and objects
// (another ComObject, through the ...Object calls).
class ComObject
{
public:
    // Creates the object of the registered class progId ("ADOX.Catalog"): CLSIDFromProgID, then
    // CoCreateInstance of its IDispatch. COM is started on the thread first when it has not been.
    [[nodiscard]] static ComObject Create(const QString& progId);

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    ComObject(ComObject&&) noexcept;
    ComObject& operator=(ComObject&&) noexcept;
    // Releases the object (and COM on the thread, when this object started it and is the last).
    ~ComObject();

    // A method by name with its arguments in order; returns what it returns (invalid for nothing).
    QVariant Call(const QString& method, const QVariantList& arguments = {});
    // A method or property whose result is an object (a connection's Errors, a collection's Item).
    [[nodiscard]] ComObject CallObject(const QString& method, const QVariantList& arguments = {});
    [[nodiscard]] QVariant Get(const QString& property, const QVariantList& arguments = {});
    [[nodiscard]] ComObject GetChild(const QString& property, const QVariantList& arguments = {});

    struct Interface;

private:
    explicit ComObject(std::unique_ptr<Interface> object);
    std::unique_ptr<Interface> m_object;
};

} // namespace kibic
