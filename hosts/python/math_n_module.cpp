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

#include "registry.h"

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

// A text goes over in quoted form: the String constructor keeps a text
// that begins with a quote as it is.
bool add_text(Arguments& argv, const Predicate& predicate, Py_ssize_t at, const char* text, Py_ssize_t size,
              bool is_string) {
  if (std::memchr(text, '\0', size)) {
    PyErr_Format(PyExc_ValueError, "%s() argument %zd: embedded null character", predicate.name, at + 1);
    return false;
  }
  if (!is_string) {
    argv.add(text, false);
    return true;
  }
  std::string quoted;
  quoted.reserve(size + 2);
  quoted += '"';
  quoted.append(text, size);
  quoted += '"';
  argv.add(quoted.c_str(), true);
  return true;
}

// Adds the given argument `value`; false with a Python error set when it
// cannot be one.
bool add_value(Arguments& argv, const Predicate& predicate, Py_ssize_t at, PyObject* value) {
  if (PyLong_Check(value) && !PyBool_Check(value)) {
    int overflow;
    long number = PyLong_AsLongAndOverflow(value, &overflow);
    if (overflow || number < INT_MIN || number > INT_MAX) {
      PyErr_Format(PyExc_OverflowError, "%s() argument %zd: %R does not fit in 32 bits", predicate.name,
                   at + 1, value);
      return false;
    }
    argv.add(static_cast<int>(number));
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
    return add_text(argv, predicate, at, text, size, !PyObject_TypeCheck(value, (PyTypeObject*)symbol_type));
  }
  if (PyBytes_Check(value)) {
    return add_text(argv, predicate, at, PyBytes_AS_STRING(value), PyBytes_GET_SIZE(value), true);
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

// Where the pattern the call spells is not exported, the error names it
// and those that are.
PyObject* no_pattern(const Predicate& predicate, PyObject* const* args, Py_ssize_t nargs) {
  std::string pattern(predicate.arity, 'o');
  for (Py_ssize_t at = 0; at < nargs; ++at)
    if (args[at] != Py_None) pattern[at] = 'i';
  std::string offered;
  for (const std::string& each : offeredPatterns(predicate)) offered += (offered.empty() ? "" : ", ") + each;
  PyErr_Format(PyExc_ValueError, "%s has no pattern %s; it offers %s", predicate.name, pattern.c_str(),
               offered.c_str());
  return nullptr;
}

// add_value, with the common case in the caller: an exact int that fits a
// machine word, read through CPython's compact-int interface where it has
// one (3.12 on).
[[gnu::always_inline]] inline bool add_given(Arguments& argv, const Predicate& predicate, Py_ssize_t at,
                                             PyObject* value) {
#if PY_VERSION_HEX >= 0x030C0000
  if (PyLong_CheckExact(value) && PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(value))) {
    Py_ssize_t number = PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(value));
    if (number >= INT_MIN && number <= INT_MAX) {
      argv.add(static_cast<int>(number));
      return true;
    }
  }
#endif
  return add_value(argv, predicate, at, value);
}

// The delivered value of argument `open` as a Python object.
PyObject* delivered(const CONSTANT& value) {
  if (value.isInt()) return PyLong_FromLong(value.toInt());
  std::unique_ptr<const char[]> text(value.toString());
  return PyUnicode_DecodeUTF8(text.get(), std::strlen(text.get()), "surrogateescape");
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
  Py_ssize_t open = nargs == arity ? arity : arity - 1;
  for (Py_ssize_t at = 0; at < nargs; ++at) {
    if (args[at] != Py_None) continue;
    if (open != arity) return no_pattern(predicate, args, nargs);
    open = at;
  }
  EntryPoint entry = predicate.byOpen[open];
  if (!entry) return no_pattern(predicate, args, nargs);

  Arguments argv;
  for (Py_ssize_t at = 0; at < arity; ++at) {
    if (at == open) {
      argv.add();
    } else if (!for_clingo) {
      if (!add_given(argv, predicate, at, args[at])) return nullptr;
    } else {
      PyObject* value = from_clingo(args[at]);
      bool added = value && add_given(argv, predicate, at, value);
      Py_XDECREF(value);
      if (!added) return nullptr;
    }
  }
  bool holds = entry(argv.data());
  if (!for_clingo) {
    if (open == arity) return PyBool_FromLong(holds);
    if (!holds) Py_RETURN_NONE;
    return delivered(argv.data()[open]);
  }
  if (!holds) return PyList_New(0);
  if (open == arity) return Py_NewRef(clingo.holds);
  PyObject* value = delivered(argv.data()[open]);
  if (!value) return nullptr;
  PyObject* symbol = PyObject_CallOneArg(PyLong_Check(value) ? clingo.number : clingo.string, value);
  Py_DECREF(value);
  return symbol;
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
