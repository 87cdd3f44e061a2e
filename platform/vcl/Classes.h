#pragma once
// The roots of the component model: objects, components with an owner and a name, event
// handlers, the class library's exception type and control bounds.
//
// Ownership works as in the VCL: a component created with an owner belongs to it and is
// deleted with it (create such components with new and keep plain pointers to them, as a form
// keeps its fields); a component without an owner belongs to whoever created it.
#include <concepts>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vcl {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// An event handler taking the sender. Any of these can be assigned:
//   item->OnClick = [this] { Exit1Click(); };
//   item->OnClick = [this](vcl::TObject* sender) { mru1Click(sender); };
//   item->OnClick = {this, &TForm1::Open1Click};
// Calling an empty handler does nothing.
class TNotifyEvent {
 public:
  TNotifyEvent() = default;
  TNotifyEvent(std::nullptr_t) {}

  template <class F>
    requires std::invocable<F&, TObject*>
  TNotifyEvent(F handler) : handler_(std::move(handler)) {}

  template <class F>
    requires(std::invocable<F&> && !std::invocable<F&, TObject*>)
  TNotifyEvent(F handler) : handler_([h = std::move(handler)](TObject*) mutable { h(); }) {}

  template <class C, class M>
    requires std::derived_from<C, M>
  TNotifyEvent(C* object, void (M::*method)(TObject*))
      : handler_([object, method](TObject* sender) { (object->*method)(sender); }) {}

  explicit operator bool() const { return static_cast<bool>(handler_); }
  void operator()(TObject* sender) const {
    if (handler_) handler_(sender);
  }

 private:
  std::function<void(TObject*)> handler_;
};

// The class library's exception type: what the application's standard exception display
// shows.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
};

// Position and size in pixels: Left, Top, Width, Height.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

class TComponent : public TObject {
 public:
  // Registers with the owner, which then deletes this component with itself.
  TComponent(TComponent* owner, std::string name);
  ~TComponent() override;

  TComponent* owner() const { return owner_; }
  const std::string& name() const { return name_; }

  // The components this one owns, in the order they were created.
  const std::vector<TComponent*>& components() const { return components_; }
  // The owned component of that name (letter case ignored, as component names are); nullptr
  // when there is none.
  TComponent* findComponent(const std::string& name) const;

 protected:
  // Deletes the owned components, newest first. Classes whose members the owned components
  // still reach while they go (a form's control lists) call it first in their destructor.
  void destroyComponents();

 private:
  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};

}  // namespace vcl
