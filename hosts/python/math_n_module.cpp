// The extension module math_n._math_n: one function per predicate of the
// registry. Each is a C function of its own, instantiated from the
// registry's row, so that a call finds its entry points without a lookup
// and picks one by which arguments are None. The functions also come in a
// second form for clingo (math_n.clingo): the same call, with clingo's
// symbols in and out.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core.h"

namespace {

using namespace math_n_host;

constexpr std::size_t predicate_count = predicates.size();

// Returns: the docstring of the predicate `name`, from the README's table.
constexpr const char* doc_of(std::string_view name) {
#define PREDICATE_DOC(predicate, doc) \
  if (name == #predicate) return doc;
#include "predicate_docs.h"
#undef PREDICATE_DOC
  return nullptr;
}

PyObject* symbol_type;  // math_n.Symbol, a subclass of str

// The constructors of clingo's symbols, set by _clingo_externals.
struct ClingoSymbols {
  PyObject* number = nullptr;  // clingo.Number
  PyObject* string = nullptr;  // clingo.String
  PyObject* holds = nullptr;   // the symbol a check that holds yields
} clingo;

// The given argument `value`, or false with a Python error set when it
// cannot be one.
bool given_value(PyObject* value, const Predicate& predicate, Py_ssize_t at, Given& given) {
  if (PyLong_Check(value) && !PyBool_Check(value)) {
    int overflow;
    long long number = PyLong_AsLongLongAndOverflow(value, &overflow);
    if (number == -1 && PyErr_Occurred()) return false;
    // Beyond 64 bits is beyond 32 bits too.
    given = Given::integer(overflow ? INT64_MAX : number);
    return true;
  }
  if (PyUnicode_Check(value)) {
    Py_ssize_t size;
    const char* text = PyUnicode_AsUTF8AndSize(value, &size);
    if (!text) {
      // Only a lone surrogate has no UTF-8 form.
      PyErr_Clear();
      PyErr_Format(PyExc_ValueError, "%s() argument %zd: %R has no UTF-8 form", predicate.name, at + 1,
                   value);
      return false;
    }
    bool is_symbol = PyObject_TypeCheck(value, reinterpret_cast<PyTypeObject*>(symbol_type));
    given = is_symbol ? Given::symbol(text, size) : Given::string(text, size);
    return true;
  }
  if (PyBytes_Check(value)) {
    given = Given::string(PyBytes_AS_STRING(value), PyBytes_GET_SIZE(value));
    return true;
  }
  PyErr_Format(PyExc_TypeError, "%s() argument %zd must be int, str, bytes or math_n.Symbol, not %.100s",
               predicate.name, at + 1, Py_TYPE(value)->tp_name);
  return false;
}

// The value of a clingo symbol: a Number's int, a String's str, and any
// other symbol as a Symbol of its text, which no entry point accepts.
PyObject* from_clingo(PyObject* symbol) {
  static PyObject* const number = PyUnicode_InternFromString("number");
  static PyObject* const string = PyUnicode_InternFromString("string");
  for (PyObject* field : {number, string}) {
    PyObject* value = PyObject_GetAttr(symbol, field);
    if (value != Py_None) return value;
    Py_DECREF(value);
  }
  PyObject* text = PyObject_Str(symbol);
  if (!text) return nullptr;
  PyObject* value = PyObject_CallOneArg(symbol_type, text);
  Py_DECREF(text);
  return value;
}

// given_value, with the common case in the caller: an exact int that fits
// a machine word, read through CPython's compact-int interface where it has
// one (3.12 on).
[[gnu::always_inline]] inline bool given_of(PyObject* value, const Predicate& predicate, Py_ssize_t at,
                                            Given& given) {
#if PY_VERSION_HEX >= 0x030C0000
  if (PyLong_CheckExact(value) && PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(value))) {
    given = Given::integer(PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(value)));
    return true;
  }
#endif
  return given_value(value, predicate, at, given);
}

// The delivered value as a Python object.
PyObject* delivered(const Answer& answer) {
  if (answer.kind == Answer::Number) return PyLong_FromLong(answer.number);
  return PyUnicode_DecodeUTF8(answer.text.get(), answer.length, "surrogateescape");
}

// The Python error for an answer that is one.
PyObject* raise(const Answer& answer, const Predicate& predicate, PyObject* const* args, const Given* given) {
  switch (answer.kind) {
    case Answer::NoPattern:
      return PyErr_Format(PyExc_ValueError, "%s",
                          noPatternMessage(predicate, spelledPattern(given, predicate.arity)).c_str());
    case Answer::OutOfRange:
      return PyErr_Format(PyExc_OverflowError, "%s() argument %d: %R does not fit in 32 bits", predicate.name,
                          answer.at + 1, args[answer.at]);
    case Answer::TextWithNul:
      return PyErr_Format(PyExc_ValueError, "%s() argument %d: embedded null character", predicate.name,
                          answer.at + 1);
    default:
      return PyErr_NoMemory();
  }
}

// The one adapter, instantiated for each predicate: picks the entry point,
// builds the arguments, calls it. A check answers True or False, a compute
// call the open value or None; for clingo, symbols go in and out instead.
template <std::size_t index, bool for_clingo>
PyObject* adapt(PyObject* const* args, Py_ssize_t nargs) {
  constexpr const Predicate& predicate = predicates[index];
  constexpr auto arity = static_cast<Py_ssize_t>(predicate.arity);
  if (nargs != arity && nargs != arity - 1) {
    return PyErr_Format(PyExc_TypeError, "%s() takes %zd or %zd arguments (%zd given)", predicate.name,
                        arity - 1, arity, nargs);
  }
  Given given[maxArity];
  PyObject* held[maxArity] = {};  // clingo's values, whose texts `given` borrows
  struct Release {
    PyObject** held;
    ~Release() {
      for (int at = 0; at < maxArity; ++at) Py_XDECREF(held[at]);
    }
  } release{held};
  for (Py_ssize_t at = 0; at < arity; ++at) {
    PyObject* value = at < nargs ? args[at] : Py_None;
    if (value == Py_None) {
      given[at] = Given::open();
      continue;
    }
    if (for_clingo) {
      value = held[at] = from_clingo(value);
      if (!value) return nullptr;
    }
    if (!given_of(value, predicate, at, given[at])) return nullptr;
  }
  int open = openArgument(given, predicate.arity);
  Answer answer = call(predicate, open, given);
  if (!for_clingo) {
    switch (answer.kind) {
      case Answer::Fails:
        if (open == predicate.arity) Py_RETURN_FALSE;
        Py_RETURN_NONE;
      case Answer::Holds:
        Py_RETURN_TRUE;
      case Answer::Number:
      case Answer::Text:
        return delivered(answer);
      default:
        return raise(answer, predicate, args, given);
    }
  }
  switch (answer.kind) {
    case Answer::Fails:
      return PyList_New(0);
    case Answer::Holds:
      return Py_NewRef(clingo.holds);
    case Answer::Number:
    case Answer::Text: {
      PyObject* value = delivered(answer);
      if (!value) return nullptr;
      PyObject* symbol = PyObject_CallOneArg(answer.kind == Answer::Number ? clingo.number : clingo.string, value);
      Py_DECREF(value);
      return symbol;
    }
    default:
      return raise(answer, predicate, args, given);
  }
}

// Where no C++ exception gets past.
template <std::size_t index, bool for_clingo>
PyObject* call(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
  try {
    return adapt<index, for_clingo>(args, nargs);
  } catch (const std::bad_alloc&) {
    return PyErr_NoMemory();
  } catch (const std::exception& error) {
    PyErr_SetString(PyExc_RuntimeError, error.what());
    return nullptr;
  }
}

template <bool for_clingo, std::size_t... index>
constexpr std::array<PyMethodDef, predicate_count> method_table(std::index_sequence<index...>) {
  return {
      PyMethodDef{predicates[index].name,
                  reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(call<index, for_clingo>)),
                  METH_FASTCALL, doc_of(predicates[index].name)}
      ...
  };
}

// The functions must outlive their objects: static and never freed.
std::array<PyMethodDef, predicate_count> python_methods =
    method_table<false>(std::make_index_sequence<predicate_count>{});
std::array<PyMethodDef, predicate_count> clingo_methods =
    method_table<true>(std::make_index_sequence<predicate_count>{});

// Stores `value` (a new reference, or null after an error) under `name`.
bool set_item(PyObject* dict, const char* name, PyObject* value) {
  bool stored = value && PyDict_SetItemString(dict, name, value) == 0;
  Py_XDECREF(value);
  return stored;
}

// {name: function} of `methods`, each with __module__ `module_name`.
PyObject* functions(std::array<PyMethodDef, predicate_count>& methods, PyObject* module,
                    const char* module_name) {
  PyObject* name = PyUnicode_FromString(module_name);
  PyObject* table = name ? PyDict_New() : nullptr;
  for (PyMethodDef& method : methods) {
    if (table && !set_item(table, method.ml_name, PyCFunction_NewEx(&method, module, name))) Py_CLEAR(table);
  }
  Py_XDECREF(name);
  return table;
}

// _clingo_externals(Number, String, holds): {name: the predicate for clingo}.
PyObject* clingo_externals(PyObject* module, PyObject* const* args, Py_ssize_t nargs) {
  if (nargs != 3)
    return PyErr_Format(PyExc_TypeError, "_clingo_externals() takes 3 arguments (%zd given)", nargs);
  Py_XSETREF(clingo.number, Py_NewRef(args[0]));
  Py_XSETREF(clingo.string, Py_NewRef(args[1]));
  Py_XSETREF(clingo.holds, Py_NewRef(args[2]));
  return functions(clingo_methods, module, "math_n.clingo");
}

PyMethodDef module_methods[] = {
    {"_clingo_externals", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(clingo_externals)),
     METH_FASTCALL,                                                                                         "The predicates as clingo external functions (for math_n.clingo)."},
    {nullptr,             nullptr,                                                                       0, nullptr                                                           }
};

PyType_Slot symbol_slots[] = {
    {Py_tp_doc, const_cast<char*>("A Symbol argument, by its text (a plain str is a String).")},
    {0,         nullptr                                                                       }
};
PyType_Spec symbol_spec = {"math_n.Symbol", 0, 0, Py_TPFLAGS_DEFAULT, symbol_slots};

PyModuleDef module_definition = {PyModuleDef_HEAD_INIT,
                                 "math_n._math_n",
                                 "The math_N predicates as Python functions.",
                                 -1,
                                 module_methods,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr};

// The predicates' functions, `patterns` ({name: the patterns offered}) and
// `__all__`.
bool add_predicates(PyObject* module) {
  PyObject* table = functions(python_methods, module, "math_n");
  bool done = table && PyDict_Update(PyModule_GetDict(module), table) == 0;
  PyObject* patterns = done ? PyDict_New() : nullptr;
  for (const Predicate& predicate : predicates) {
    std::vector<std::string> each = offeredPatterns(predicate);
    PyObject* offered = patterns ? PyTuple_New(static_cast<Py_ssize_t>(each.size())) : nullptr;
    for (std::size_t at = 0; offered && at < each.size(); ++at) {
      PyObject* pattern = PyUnicode_FromString(each[at].c_str());
      if (pattern)
        PyTuple_SET_ITEM(offered, at, pattern);
      else
        Py_CLEAR(offered);
    }
    if (patterns && !set_item(patterns, predicate.name, offered)) Py_CLEAR(patterns);
  }
  PyObject* names = patterns ? PySequence_List(patterns) : nullptr;
  PyObject* symbol_name = names ? PyUnicode_FromString("Symbol") : nullptr;
  done = symbol_name && PyList_Insert(names, 0, symbol_name) == 0 &&
         PyModule_AddObjectRef(module, "__all__", names) == 0 &&
         PyModule_AddObjectRef(module, "patterns", patterns) == 0;
  Py_XDECREF(table);
  Py_XDECREF(patterns);
  Py_XDECREF(names);
  Py_XDECREF(symbol_name);
  return done;
}

}  // namespace

// An allocation that fails while the module loads is a MemoryError, as in
// a call.
PyMODINIT_FUNC PyInit__math_n() try {
  PyObject* module = PyModule_Create(&module_definition);
  if (!module) return nullptr;
  if (!symbol_type)
    symbol_type = PyType_FromSpecWithBases(&symbol_spec, reinterpret_cast<PyObject*>(&PyUnicode_Type));
  if (!symbol_type || PyModule_AddObjectRef(module, "Symbol", symbol_type) < 0 || !add_predicates(module)) {
    Py_DECREF(module);
    return nullptr;
  }
  return module;
} catch (const std::bad_alloc&) {
  return PyErr_NoMemory();
}
