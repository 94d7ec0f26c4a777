// Whether some of an element is in the window. Asked once, as the watch
// begins, then told by an IntersectionObserver as the page scrolls or its
// layout moves: asking the element's box on every tick would have the
// browser lay the page out anew each time, after a paint had changed it.
// onChange(inView) is called when that changes. Returns a function that
// says whether the element is in view now.
export function watchView(element, onChange = () => {}) {
  const box = element.getBoundingClientRect();
  let inView = box.bottom > 0 && box.top < window.innerHeight && box.right > 0 &&
               box.left < window.innerWidth;
  new IntersectionObserver((entries) => {
    const now = entries[entries.length - 1].isIntersecting;
    if (now !== inView) {
      inView = now;
      onChange(now);
    }
  }).observe(element);
  return () => inView;
}
