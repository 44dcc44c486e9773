#pragma once

#include <cstdint>
#include <type_traits>

#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/InvokeGroupFunction.h"

// The host-call functors: one group-interface operation and the host's
// arguments, run on the one group of the bundle by a single virtual call.
// They live on the entry function's stack, allocate nothing, and neither
// check the group reference nor catch anything (the common call path
// does).

// How an argument is kept: by value, also where the operation takes a
// const reference (a Point).
template <class T>
using GroupFuncArg = std::remove_cv_t<std::remove_reference_t<T>>;

class S0ArgGroupFunc : public SGenFuncRetLong {
 public:
  using Function = int32_t (CProcessGroupInterface::*)();
  explicit S0ArgGroupFunc(Function function) : mFunction(function) {}
  int32_t operator()() override { return (CProcessGroupInterface::GetGroupReference()->*mFunction)(); }

 private:
  Function mFunction;
};

template <class T1>
class S1ArgGroupFunc : public SGenFuncRetLong {
 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1);
  S1ArgGroupFunc(Function function, GroupFuncArg<T1> a1) : mFunction(function), mArg1(a1) {}
  int32_t operator()() override { return (CProcessGroupInterface::GetGroupReference()->*mFunction)(mArg1); }

 private:
  Function mFunction;
  GroupFuncArg<T1> mArg1;
};

template <class T1, class T2>
class S2ArgGroupFunc : public SGenFuncRetLong {
 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1, T2);
  S2ArgGroupFunc(Function function, GroupFuncArg<T1> a1, GroupFuncArg<T2> a2)
      : mFunction(function), mArg1(a1), mArg2(a2) {}
  int32_t operator()() override {
    return (CProcessGroupInterface::GetGroupReference()->*mFunction)(mArg1, mArg2);
  }

 private:
  Function mFunction;
  GroupFuncArg<T1> mArg1;
  GroupFuncArg<T2> mArg2;
};

template <class T1, class T2, class T3>
class S3ArgGroupFunc : public SGenFuncRetLong {
 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1, T2, T3);
  S3ArgGroupFunc(Function function, GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3)
      : mFunction(function), mArg1(a1), mArg2(a2), mArg3(a3) {}
  int32_t operator()() override {
    return (CProcessGroupInterface::GetGroupReference()->*mFunction)(mArg1, mArg2, mArg3);
  }

 private:
  Function mFunction;
  GroupFuncArg<T1> mArg1;
  GroupFuncArg<T2> mArg2;
  GroupFuncArg<T3> mArg3;
};

template <class T1, class T2, class T3, class T4>
class S4ArgGroupFunc : public SGenFuncRetLong {
 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1, T2, T3, T4);
  S4ArgGroupFunc(Function function, GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3,
                 GroupFuncArg<T4> a4)
      : mFunction(function), mArg1(a1), mArg2(a2), mArg3(a3), mArg4(a4) {}
  int32_t operator()() override {
    return (CProcessGroupInterface::GetGroupReference()->*mFunction)(mArg1, mArg2, mArg3, mArg4);
  }

 protected:
  Function mFunction;
  GroupFuncArg<T1> mArg1;
  GroupFuncArg<T2> mArg2;
  GroupFuncArg<T3> mArg3;
  GroupFuncArg<T4> mArg4;
};

// Five and six arguments build on the four- and five-argument forms: their
// argument fields are reused, their member pointer stays null.
template <class T1, class T2, class T3, class T4, class T5>
class S5ArgGroupFunc : public S4ArgGroupFunc<T1, T2, T3, T4> {
  using Base = S4ArgGroupFunc<T1, T2, T3, T4>;

 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1, T2, T3, T4, T5);
  S5ArgGroupFunc(Function function, GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3,
                 GroupFuncArg<T4> a4, GroupFuncArg<T5> a5)
      : Base(nullptr, a1, a2, a3, a4), mArg5(a5), mFunction5(function) {}
  int32_t operator()() override {
    return (CProcessGroupInterface::GetGroupReference()->*mFunction5)(this->mArg1, this->mArg2, this->mArg3,
                                                                      this->mArg4, mArg5);
  }

 protected:
  GroupFuncArg<T5> mArg5;
  Function mFunction5;
};

template <class T1, class T2, class T3, class T4, class T5, class T6>
class S6ArgGroupFunc : public S5ArgGroupFunc<T1, T2, T3, T4, T5> {
  using Base = S5ArgGroupFunc<T1, T2, T3, T4, T5>;

 public:
  using Function = int32_t (CProcessGroupInterface::*)(T1, T2, T3, T4, T5, T6);
  S6ArgGroupFunc(Function function, GroupFuncArg<T1> a1, GroupFuncArg<T2> a2, GroupFuncArg<T3> a3,
                 GroupFuncArg<T4> a4, GroupFuncArg<T5> a5, GroupFuncArg<T6> a6)
      : Base(nullptr, a1, a2, a3, a4, a5), mArg6(a6), mFunction6(function) {}
  int32_t operator()() override {
    return (CProcessGroupInterface::GetGroupReference()->*mFunction6)(this->mArg1, this->mArg2, this->mArg3,
                                                                      this->mArg4, this->mArg5, mArg6);
  }

 private:
  GroupFuncArg<T6> mArg6;
  Function mFunction6;
};

// The common call path: the group's global lock around the run when it is
// asked for and the host-interface version is not 0 (looked at again before
// leaving), the run itself turning every exception into a host code.
int32_t CallGroupFunction(SGenFuncRetLong& functor, bool takeLock);
// The run under the library's global lock, inside the group lock when
// enterGroupLock (the caller has decided by its own rule).
int32_t RunGroupFunction(SGenFuncRetLong& functor, bool enterGroupLock);
